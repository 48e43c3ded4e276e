#pragma once

#include <cstdint>
#include <string>

namespace pwx::testing {

// An MP3 the player plays, made in memory for tests that import clips: MPEG-1 Layer III
// frames at 44,100 Hz and 128 kbit/s, stereo, that decode to silence (their side information
// is all zero). `mark` goes into the first frame's ancillary bytes, which decoders pass over,
// so that two such clips can be told apart by their bytes. Each frame lasts 26 ms.
inline std::string Mp3Bytes(const std::string& mark = "", int frames = 4) {
  constexpr std::size_t kFrameBytes = 417;      // 144 * 128,000 / 44,100, unpadded
  constexpr std::size_t kAncillaryAt = 4 + 32;  // after the header and the side information
  std::string bytes;
  for (int frame = 0; frame < frames; ++frame) {
    std::string one(kFrameBytes, '\0');
    one[0] = '\xFF';
    one[1] = '\xFB';  // MPEG-1, Layer III, no CRC
    one[2] = '\x90';  // 128 kbit/s, 44,100 Hz, no padding
    one[3] = '\x00';  // stereo
    if (frame == 0) one.replace(kAncillaryAt, mark.size(), mark.substr(0, kFrameBytes - 40));
    bytes += one;
  }
  return bytes;
}

// Such an MP3 of exactly `size` bytes (at least 175,000): frames of 417 bytes and padded
// ones of 418, however many of each it takes.
inline std::string Mp3BytesOfSize(std::uint64_t size) {
  const std::uint64_t frames = (size + 417) / 418;
  const std::uint64_t padded = size - 417 * frames;
  std::string bytes = Mp3Bytes("", static_cast<int>(frames - padded));
  std::string frame(418, '\0');
  frame[0] = '\xFF';
  frame[1] = '\xFB';
  frame[2] = '\x92';  // the padding bit: one byte more
  for (std::uint64_t i = 0; i < padded; ++i) bytes += frame;
  return bytes;
}

}  // namespace pwx::testing
