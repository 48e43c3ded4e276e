#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pwx {

// The bytes that stand at the start of an MP3 before its frames, and at its end after them,
// that are no audio but belong to the file: tags of its title, artist and pictures.

// The bytes that the head of a file needs to show its ID3v2 tag or container.
inline constexpr std::size_t kClipHeadBytes = 12;

// The length of the ID3v2 tag that `head` starts with, header and footer included; 0 when
// it starts with none.
std::uint64_t LeadingTagLength(std::string_view head);

// The length of the tags (ID3v1, APE, Lyrics3, an appended ID3v2) that `tail`, the last bytes
// of a file, ends with, at most `room` bytes in all.
std::uint64_t TrailingTagsLength(std::string_view tail, std::uint64_t room);

// What kind of file the first bytes announce, when it is a sound file often mistaken for MP3:
// "WAV" or "RIFF", "FLAC", "Ogg", "AIFF", "MP4"; empty otherwise.
std::string ContainerOf(std::string_view head);

}  // namespace pwx
