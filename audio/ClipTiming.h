#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace pwx {

// Below this level (a sample's peak against full scale) a clip counts as silent.
inline constexpr double kSilenceDbfs = -50.0;

// How long a clip plays and where its sound starts and ends, as the decoder gives it without
// gaps: the encoder's delay and padding left out.
struct ClipTiming {
  long SampleRate = 0;
  int Channels = 0;
  int Layer = 0;
  std::uint64_t Bytes = 0;
  std::string Container;      // "WAV", "FLAC" ... when the bytes are such a file around the frames
  std::uint64_t Samples = 0;  // per channel
  std::uint64_t LeadingSilence = 0;   // samples before the first audible one; all when silent
  std::uint64_t TrailingSilence = 0;  // samples after the last audible one; 0 when silent

  bool Silent() const { return LeadingSilence >= Samples; }
  double Seconds() const { return SecondsOf(Samples); }
  double SecondsOf(std::uint64_t samples) const {
    return SampleRate > 0 ? static_cast<double>(samples) / static_cast<double>(SampleRate) : 0;
  }
};

class MpegStream;

// Times clip after clip with the same decoders and buffers, which a timeline of many clips
// would otherwise set up and give back again for each one.
class ClipTimer {
 public:
  ClipTimer();
  ~ClipTimer();
  ClipTimer(const ClipTimer&) = delete;
  ClipTimer& operator=(const ClipTimer&) = delete;

  // As TimeClipBytes and TimeClipFile below.
  ClipTiming Bytes(std::string_view bytes, const std::string& name);
  ClipTiming File(const std::string& path);

 private:
  struct Decoders;
  Decoders& Ready();
  std::unique_ptr<Decoders> decoders_;
};

// Times a clip in memory: its length from the frames' headers, its silences from decoding
// only its ends (further in only while they stay silent). Raises the not-audio text when it
// holds no MPEG audio frame.
ClipTiming TimeClipBytes(std::string_view bytes, const std::string& name);

// The same for a clip file. Raises "Cannot open file ...", "... is not a regular file", or
// as above.
ClipTiming TimeClipFile(const std::string& path);

}  // namespace pwx
