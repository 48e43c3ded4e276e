#include "audio/MpegHeader.h"

namespace pwx {

namespace {

// kbit/s by bit-rate index: [MPEG-1 or not][layer - 1][index].
constexpr int kBitRates[2][3][15] = {
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}}};

constexpr long kMpeg1Rates[3] = {44100, 48000, 32000};

unsigned Byte(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]);
}

}  // namespace

std::size_t MpegHeader::SideInfoBytes() const {
  const std::size_t crc = Protected ? 2 : 0;
  if (Version == 1) return crc + (Channels == 1 ? 17 : 32);
  return crc + (Channels == 1 ? 9 : 17);
}

std::optional<MpegHeader> ReadMpegHeader(std::string_view bytes) {
  if (bytes.size() < 4 || Byte(bytes, 0) != 0xFF || (Byte(bytes, 1) & 0xE0) != 0xE0) return {};
  const unsigned versionBits = (Byte(bytes, 1) >> 3) & 3;
  const unsigned layerBits = (Byte(bytes, 1) >> 1) & 3;
  const unsigned rateIndex = Byte(bytes, 2) >> 4;
  const unsigned sampleIndex = (Byte(bytes, 2) >> 2) & 3;
  if (versionBits == 1 || layerBits == 0 || rateIndex == 15 || sampleIndex == 3) return {};
  MpegHeader header;
  header.Version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
  header.Layer = 4 - static_cast<int>(layerBits);
  const bool mpeg1 = header.Version == 1;
  header.SampleRate = kMpeg1Rates[sampleIndex] / (mpeg1 ? 1 : header.Version == 2 ? 2 : 4);
  header.BitRate = kBitRates[mpeg1 ? 1 : 0][header.Layer - 1][rateIndex];
  header.Padded = (Byte(bytes, 2) >> 1) & 1;
  header.Protected = (Byte(bytes, 1) & 1) == 0;
  header.Channels = (Byte(bytes, 3) >> 6) == 3 ? 1 : 2;
  if (header.BitRate > 0) {
    const long bits = header.BitRate * 1000L;
    const long padding = header.Padded ? 1 : 0;
    long length = 0;
    if (header.Layer == 1) {
      length = (12 * bits / header.SampleRate + padding) * 4;
    } else {
      const long slots = header.Layer == 3 && !mpeg1 ? 72 : 144;
      length = slots * bits / header.SampleRate + padding;
    }
    header.Length = static_cast<std::size_t>(length);
  }
  return header;
}

std::optional<std::size_t> XingTagAt(std::string_view frame) {
  const std::optional<MpegHeader> header = ReadMpegHeader(frame);
  if (!header || header->Layer != 3) return std::nullopt;
  const std::size_t at = 4 + header->SideInfoBytes() - (header->Protected ? 2 : 0);
  if (frame.size() < at + 4) return std::nullopt;
  const std::string_view tag = frame.substr(at, 4);
  if (tag != "Xing" && tag != "Info") return std::nullopt;
  return at;
}

bool IsEncoderInfoFrame(std::string_view frame) {
  if (XingTagAt(frame)) return true;
  const std::optional<MpegHeader> header = ReadMpegHeader(frame);
  return header && header->Layer == 3 && frame.size() >= 40 && frame.substr(36, 4) == "VBRI";
}

std::optional<std::uint64_t> XingFrameCount(std::string_view frame) {
  const std::optional<std::size_t> at = XingTagAt(frame);
  if (!at || frame.size() < *at + 12) return std::nullopt;
  const auto word = [&](std::size_t from) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | Byte(frame, from + i);
    return value;
  };
  const bool counted = (word(*at + 4) & 1) != 0;
  const std::uint64_t frames = counted ? word(*at + 8) : 0;
  if (frames == 0) return std::nullopt;
  return frames;
}

}  // namespace pwx
