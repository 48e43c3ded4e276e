#include "audio/ClipTags.h"

#include <optional>

namespace pwx {

namespace {

constexpr std::uint64_t kId3v1Bytes = 128;
constexpr std::uint64_t kApeFooterBytes = 32;
constexpr std::uint64_t kId3v2HeaderBytes = 10;

unsigned Byte(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]);
}

// The 28-bit size of an ID3v2 header or footer, 7 bits a byte; none when a byte has its top
// bit set, which no tag has.
std::optional<std::uint64_t> SyncSafe(std::string_view four) {
  std::uint64_t size = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    if (Byte(four, i) & 0x80) return {};
    size = (size << 7) | Byte(four, i);
  }
  return size;
}

std::uint32_t LittleEndian32(std::string_view four) {
  return Byte(four, 0) | Byte(four, 1) << 8 | Byte(four, 2) << 16 |
         static_cast<std::uint32_t>(Byte(four, 3)) << 24;
}

// An ID3v2 header or footer of 10 bytes with the given marker: the size it gives the tag.
std::optional<std::uint64_t> Id3v2Size(std::string_view ten, std::string_view marker) {
  if (ten.size() < kId3v2HeaderBytes || ten.substr(0, 3) != marker) return {};
  if (Byte(ten, 3) == 0xFF || Byte(ten, 4) == 0xFF) return {};
  const std::optional<std::uint64_t> size = SyncSafe(ten.substr(6, 4));
  if (!size) return {};
  const bool footer = Byte(ten, 5) & 0x10;
  return kId3v2HeaderBytes + *size + (footer ? kId3v2HeaderBytes : 0);
}

// The length of the one tag that `end` (the last bytes, `room` of which may be tag) ends
// with, 0 when none.
std::uint64_t LastTagLength(std::string_view end, std::uint64_t room) {
  const std::uint64_t have = end.size();
  if (have >= kId3v1Bytes && room >= kId3v1Bytes && end.substr(have - kId3v1Bytes, 3) == "TAG") {
    return kId3v1Bytes;
  }
  if (have >= kApeFooterBytes && end.substr(have - kApeFooterBytes, 8) == "APETAGEX") {
    const std::string_view footer = end.substr(have - kApeFooterBytes);
    std::uint64_t length = LittleEndian32(footer.substr(12, 4));
    if (LittleEndian32(footer.substr(20, 4)) & 0x80000000u) length += kApeFooterBytes;
    if (length >= kApeFooterBytes && length <= room) return length;
  }
  if (have >= 15 && end.substr(have - 9) == "LYRICS200") {
    std::uint64_t length = 0;
    for (const char digit : end.substr(have - 15, 6)) {
      if (digit < '0' || digit > '9') return 0;
      length = length * 10 + static_cast<std::uint64_t>(digit - '0');
    }
    if (length + 15 <= room) return length + 15;
  }
  if (have >= kId3v2HeaderBytes) {
    const std::optional<std::uint64_t> length =
        Id3v2Size(end.substr(have - kId3v2HeaderBytes), "3DI");
    if (length && *length <= room) return *length;
  }
  return 0;
}

}  // namespace

std::uint64_t LeadingTagLength(std::string_view head) {
  return Id3v2Size(head, "ID3").value_or(0);
}

std::uint64_t TrailingTagsLength(std::string_view tail, std::uint64_t room) {
  std::uint64_t tags = 0;
  // Tags stand one before the other (APE, then ID3v1 last); a few at most.
  for (int i = 0; i < 4; ++i) {
    const std::uint64_t length = LastTagLength(tail, room - tags);
    if (length == 0) break;
    tags += length;
    tail.remove_suffix(length < tail.size() ? length : tail.size());
  }
  return tags;
}

std::string ContainerOf(std::string_view head) {
  if (head.size() < kClipHeadBytes) return {};
  const std::string_view kind = head.substr(8, 4);
  if (head.substr(0, 4) == "RIFF") return kind == "WAVE" ? "WAV" : "RIFF";
  if (head.substr(0, 4) == "fLaC") return "FLAC";
  if (head.substr(0, 4) == "OggS") return "Ogg";
  if (head.substr(0, 4) == "FORM" && (kind == "AIFF" || kind == "AIFC")) return "AIFF";
  if (head.substr(4, 4) == "ftyp") return "MP4";
  return {};
}

}  // namespace pwx
