#pragma once

#include <cstddef>
#include <cstdint>

namespace pwx {

// The rate and channel count of decoded sound.
struct SoundFormat {
  long Rate = 0;
  int Channels = 0;
  bool operator==(const SoundFormat&) const = default;
};

// Decoded sound read block by block: 32-bit float samples, full scale ±1, interleaved
// (left, right, left, ...). What the intake reads, whichever decoder made it.
class PcmSource {
 public:
  virtual ~PcmSource() = default;

  virtual SoundFormat Format() const = 0;
  // Fills `samples` with up to `frames` frames (a frame holds one sample of each channel) and
  // returns how many; 0 at the end. Raises EditorError when the source cannot be decoded.
  virtual std::size_t Read(float* samples, std::size_t frames) = 0;
  // How much of the source has been read, from 0 to 1, for progress.
  virtual double FractionRead() const = 0;
  // The frames the source announces, 0 when it does not say. Damage can make the frames read
  // fewer.
  virtual std::uint64_t FramesAnnounced() const = 0;
};

}  // namespace pwx
