#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace pwx {

// Encodes 44,100 Hz float samples (full scale ±1, interleaved) into MPEG-1 Layer III with
// libmp3lame: variable bit rate at quality 4 (good for speech and music), joint stereo or
// mono, no ReplayGain analysis, no ID3 tag, and a Xing/LAME tag in the first frame that
// tells decoders the encoder delay and padding to leave out.
class Mp3Encoder {
 public:
  static constexpr long kRate = 44100;

  // `sink` gets the encoded bytes as they are made.
  Mp3Encoder(int channels, std::function<void(std::string_view)> sink);
  ~Mp3Encoder();
  Mp3Encoder(const Mp3Encoder&) = delete;
  Mp3Encoder& operator=(const Mp3Encoder&) = delete;

  void Encode(const float* samples, std::size_t frames);
  // Encodes what the encoder still holds and returns the finished tag frame, which goes over
  // the first bytes the sink got (the encoder wrote a placeholder of the same size there).
  std::string Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The fewest bytes the encoder can make of `seconds` of sound: every frame of 1,152 samples
// at its lowest bit rate, 32 kbit/s (104 bytes). A length that passes a limit even so is
// refused without encoding anything.
std::uint64_t SmallestMp3Bytes(double seconds);

}  // namespace pwx
