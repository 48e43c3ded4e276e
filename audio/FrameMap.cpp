#include "audio/FrameMap.h"

#include <algorithm>

#include "audio/ClipTags.h"
#include "audio/MpegHeader.h"
#include "audio/MpegStream.h"

namespace pwx {

namespace {

// Fed to the decoder in pieces, as its buffers like it best.
constexpr std::size_t kScanPieceBytes = 4 * 1024;
constexpr std::size_t kId3v1Bytes = 128;
// The shortest frame an encoder writes.
constexpr std::size_t kShortestFrame = 24;
// Fewer frames than this are left to the decoder, which checks a first frame against the
// one after it.
constexpr std::size_t kFewestWalkedFrames = 3;

unsigned Byte(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]);
}

bool SameFormat(const MpegHeader& a, const MpegHeader& b) {
  return a.Version == b.Version && a.Layer == b.Layer && a.SampleRate == b.SampleRate &&
         a.Channels == b.Channels;
}

// The header at `at` as the decoder takes it, with its emphasis not the reserved value.
std::optional<MpegHeader> HeaderAt(ClipBytes& bytes, std::uint64_t at) {
  const std::string_view four = bytes.Read(at, 4);
  if (four.size() < 4 || (Byte(four, 3) & 3) == 2) return std::nullopt;
  return ReadMpegHeader(four);
}

std::uint64_t SamplesPerFrame(const MpegHeader& header) {
  if (header.Layer == 1) return 384;
  return header.Layer == 3 && header.Version != 1 ? 576 : 1152;
}

}  // namespace

std::uint64_t FrameMap::GaplessSamples() const {
  const std::uint64_t raw = RawSamples();
  if (!Gapless()) return raw;
  const std::uint64_t padding =
      Delay && DelayAndPadding && *DelayAndPadding >= *Delay ? *DelayAndPadding - *Delay : 0;
  const std::uint64_t counted = *AnnouncedFrames * SamplesPerFrame + kDecoderDelay;
  const std::uint64_t end = std::min(raw, counted > padding ? counted - padding : 0);
  const std::uint64_t offset = GaplessOffset();
  return end > offset ? end - offset : 0;
}

std::uint64_t FirstFrameNeeded(ClipBytes& bytes, const FrameMap& map, std::uint64_t frame) {
  if (map.Layer != 3 || frame >= map.Starts.size()) return frame;
  const std::optional<MpegHeader> header = HeaderAt(bytes, map.Starts[frame]);
  if (!header) return frame;
  // How far back, in the data of the frames before, this frame's data begins.
  const std::size_t sideInfo = 4 + (header->Protected ? 2 : 0);
  const std::string_view side = bytes.Read(map.Starts[frame] + sideInfo, 2);
  if (side.size() < 2) return frame;
  const std::uint64_t back =
      header->Version == 1 ? (Byte(side, 0) << 1) | (Byte(side, 1) >> 7) : Byte(side, 0);
  std::uint64_t found = 0;
  std::uint64_t at = frame;
  while (found < back && at > 0) {
    --at;
    const std::optional<MpegHeader> before = HeaderAt(bytes, map.Starts[at]);
    // Between frames that do not follow each other the decoder's count is its own: all
    // frames from the start are needed.
    if (!before || before->Length == 0 || map.Starts[at] + before->Length != map.Starts[at + 1]) {
      return 0;
    }
    found += before->Length - 4 - before->SideInfoBytes();
  }
  return at;
}

bool FramesFollow(ClipBytes& bytes, const FrameMap& map, std::uint64_t from, std::uint64_t to) {
  for (std::uint64_t frame = from; frame < to && frame + 1 < map.Starts.size(); ++frame) {
    const std::optional<MpegHeader> header = HeaderAt(bytes, map.Starts[frame]);
    if (!header || header->Length == 0 ||
        map.Starts[frame] + header->Length != map.Starts[frame + 1]) {
      return false;
    }
  }
  return true;
}

std::optional<FrameMap> WalkFrameHeaders(ClipBytes& bytes) {
  const std::uint64_t size = bytes.Size();
  std::uint64_t at = LeadingTagLength(bytes.Read(0, kClipHeadBytes));
  const std::optional<MpegHeader> first = HeaderAt(bytes, at);
  if (!first || first->Length == 0) return std::nullopt;
  FrameMap map;
  map.SampleRate = first->SampleRate;
  map.Channels = first->Channels;
  map.Layer = first->Layer;
  map.SamplesPerFrame = SamplesPerFrame(*first);
  if (first->Layer == 3) {
    const std::string_view frame = bytes.Read(at, first->Length);
    if (IsEncoderInfoFrame(frame)) {
      // Xing and Info frames the decoder passes over; a VBRI frame, or one whose side
      // information or CRC the decoder might read otherwise, is left to it.
      const std::optional<std::size_t> tag = XingTagAt(frame);
      if (!tag || first->Protected) return std::nullopt;
      if (frame.substr(4, *tag - 4).find_first_not_of('\0') != std::string_view::npos) {
        return std::nullopt;
      }
      map.InfoFrame = true;
      map.AnnouncedFrames = XingFrameCount(frame);
      at += first->Length;
    }
  }
  while (at + 4 <= size) {
    const std::optional<MpegHeader> header = HeaderAt(bytes, at);
    if (!header) break;
    if (header->Length == 0 || !SameFormat(*header, *first)) return std::nullopt;
    if (at + header->Length > size) return std::nullopt;  // a frame cut short
    map.Starts.push_back(at);
    at += header->Length;
  }
  const std::uint64_t rest = size - at;
  const bool tagAfter = rest == kId3v1Bytes && bytes.Read(at, 3) == "TAG";
  if ((rest != 0 && !tagAfter) || map.Starts.size() < kFewestWalkedFrames) return std::nullopt;
  return map;
}

FrameMap MapFramesByDecoder(ClipBytes& bytes) {
  MpegStream stream(MpegStream::Samples::Float, false);
  FrameMap map;
  MpegVersion version = MpegVersion::V1;
  std::uint64_t fed = 0;
  for (;;) {
    const MpegStream::Step step = stream.SkipFrame();
    if (step == MpegStream::Step::NeedMore && fed < bytes.Size()) {
      const std::string_view piece = bytes.Read(fed, kScanPieceBytes);
      if (piece.empty() || !stream.Feed(piece)) break;
      fed += piece.size();
      continue;
    }
    if (step != MpegStream::Step::Frame) break;
    const MpegFrameInfo info = stream.Frame();
    if (map.Starts.empty()) {
      version = info.Version;
      map.SampleRate = info.SampleRate;
      map.Channels = info.Channels;
      map.Layer = info.Layer;
      map.SamplesPerFrame = stream.SamplesPerFrame();
    } else if (info.Version != version || info.Layer != map.Layer ||
               info.SampleRate != map.SampleRate || info.Channels != map.Channels) {
      continue;  // damage that looks like a frame of another format
    }
    map.Starts.push_back(stream.FramePosition());
  }
  map.Delay = stream.EncoderDelaySamples();
  map.DelayAndPadding = stream.EncoderPaddingSamples();
  if (!map.Starts.empty() && map.Layer == 3) {
    // The info frame, when there is one, ends where the first frame of audio starts.
    const std::uint64_t audio = map.Starts.front();
    const std::uint64_t reach = std::min(kLongestMpegFrame, audio);
    const std::string before(bytes.Read(audio - reach, static_cast<std::size_t>(reach)));
    for (std::size_t length = kShortestFrame; length <= before.size(); ++length) {
      const std::string_view frame = std::string_view(before).substr(before.size() - length);
      const std::optional<MpegHeader> header = ReadMpegHeader(frame);
      // A free-format frame gives no length: its bytes run up to the next frame.
      const bool fits = header && (header->Length == length || header->Length == 0);
      if (!fits || !XingTagAt(frame)) continue;
      map.InfoFrame = true;
      map.AnnouncedFrames = XingFrameCount(frame);
      break;
    }
  }
  return map;
}

}  // namespace pwx
