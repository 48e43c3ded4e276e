#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace pwx {

// The longest MPEG audio frame (a free-format Layer II frame at 640 kbit/s and 8,000 Hz is
// longer, but no encoder writes one).
inline constexpr std::uint64_t kLongestMpegFrame = 2881;

// The four bytes that start an MPEG audio frame, read as the standard lays them out.
struct MpegHeader {
  int Version = 1;         // 1, 2 or 25 (for 2.5)
  int Layer = 3;           // 1, 2 or 3
  long SampleRate = 0;     // in Hz
  int BitRate = 0;         // in kbit/s; 0 for a free-format frame
  int Channels = 2;        // 1 for mono
  bool Padded = false;     // one more slot at the end
  bool Protected = false;  // a 16-bit CRC follows the header
  std::size_t Length = 0;  // of the whole frame, header included; 0 when free-format

  // The bytes of side information after the header (and its CRC) in a Layer III frame.
  std::size_t SideInfoBytes() const;
};

// The header at the start of `bytes`, or none when they do not start with a valid one.
std::optional<MpegHeader> ReadMpegHeader(std::string_view bytes);

// Whether `frame` (from its header on) is the Xing, Info or VBRI frame an encoder writes
// before the audio: a Layer III frame that holds no sound but the clip's length and table.
bool IsEncoderInfoFrame(std::string_view frame);

// Where in `frame` its "Xing" or "Info" tag starts: right after the side information, whose
// place encoders and decoders count without the CRC of a protected frame. None when it has
// no such tag.
std::optional<std::size_t> XingTagAt(std::string_view frame);

// The frames of audio a Xing or Info frame counts; none when it gives no count, or 0.
std::optional<std::uint64_t> XingFrameCount(std::string_view frame);

}  // namespace pwx
