#include "audio/ClipProbe.h"

#include <algorithm>
#include <vector>

#include "audio/ClipTags.h"
#include "audio/MpegHeader.h"
#include "audio/MpegStream.h"
#include "common/EditorError.h"

namespace pwx {

namespace {

constexpr std::size_t kReadChunkBytes = 64 * 1024;
// The end of a clip that is kept to look at after its last frame: tags, a frame cut short,
// padding.
constexpr std::size_t kTailBytes = 16 * 1024;
// The start of what follows a leading tag, enough to recognise an encoder's info frame.
constexpr std::size_t kLeadBytes = 64;

bool AllZero(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; });
}

}  // namespace

struct ClipProbe::Decoder {
  // Any rate and channel count, mixed to one channel of 16 bits: the samples are only
  // counted, and one channel halves the work of the synthesis.
  MpegStream stream{MpegStream::Samples::Mono16, false};
  ProbeDepth depth = ProbeDepth::Decode;
  ClipFacts facts;
  bool failed = false;  // the decoder gave up; later bytes are only counted
  bool haveFrame = false;
  std::uint64_t firstFrame = 0;  // where the first frame of the clip starts in the file
  std::uint64_t frameEnd = 0;    // where the last decoded frame ends
  std::uint64_t frameBytes = 0;  // in the frames of the clip
  int firstBitrate = 0;
  MpegVersion version = MpegVersion::V1;  // of the first frame
  std::string head;
  bool headRead = false;
  std::uint64_t leadingTag = 0;             // the length of an ID3v2 tag at the start
  std::uint64_t firstNonZero = UINT64_MAX;  // the first byte after it that is not zero
  std::string lead;                         // the bytes from there on
  std::string tail;
  std::uint64_t tailStart = 0;         // where in the file the tail starts
  std::uint64_t passedNonZeroEnd = 0;  // the end of the last non-zero byte before the tail

  double SecondsSoFar() const { return facts.Seconds(); }

  void Problem(DecodeProblem::Kind kind, std::uint64_t offset) {
    facts.Problems.push_back({kind, offset, SecondsSoFar()});
  }

  void NoteFrame(std::uint64_t samples) {
    const MpegFrameInfo info = stream.Frame();
    if (haveFrame && (info.Version != version || info.Layer != facts.Layer ||
                      info.SampleRate != facts.SampleRate || info.Channels != facts.Channels)) {
      // Damaged bytes can look like a frame of some other format: it is passed over as part
      // of the damage, which ends at the next frame of the clip's own format.
      return;
    }
    const std::uint64_t position = stream.FramePosition();
    if (!haveFrame) {
      firstFrame = position;
      firstBitrate = info.BitRate;
      version = info.Version;
      facts.MpegVersion = MpegVersionText(info.Version);
    } else if (position > frameEnd) {
      Problem(DecodeProblem::Kind::LostSync, frameEnd);
    }
    frameEnd = position + info.Bytes;
    frameBytes += info.Bytes;
    haveFrame = true;
    ++facts.Frames;
    facts.Layer = info.Layer;
    facts.SampleRate = info.SampleRate;
    facts.Channels = info.Channels;
    // What the frames say, not what a tag claims: encoders mark constant-rate clips with a
    // tag that the decoder takes for a variable one.
    if (info.BitRate != firstBitrate) facts.VariableBitRate = true;
    facts.Samples += samples;
  }

  // Decodes every whole frame the decoder holds.
  void Drain() {
    while (!failed) {
      std::string_view samples;
      const MpegStream::Step step =
          depth == ProbeDepth::Decode ? stream.DecodeFrame(samples) : stream.SkipFrame();
      if (step == MpegStream::Step::NeedMore) return;
      if (step == MpegStream::Step::NewFormat) {
        continue;  // the frame is decoded by the next call; its format is read from it
      }
      if (step == MpegStream::Step::Failed) {
        Problem(DecodeProblem::Kind::DecoderError, stream.StreamPosition());
        failed = true;
        return;
      }
      // Decoded to one channel of 16 bits; scanned, the frame's samples are counted.
      NoteFrame(depth == ProbeDepth::Decode ? samples.size() / 2 : stream.SamplesPerFrame());
    }
  }

  // Decoding leaves out the silence an encoder adds before and after the sound, as its
  // info frame gives it; a scan counts whole frames and leaves it out here.
  void LeaveOutEncoderPadding() {
    const std::optional<std::uint64_t> added = stream.EncoderPaddingSamples();
    if (added && *added < facts.Samples) facts.Samples -= *added;
  }

  // Follows the bytes after a leading tag up to the first that is not zero, and keeps a few
  // from there on.
  void Look(std::string_view piece, std::uint64_t at) {
    if (firstNonZero == UINT64_MAX) {
      const std::uint64_t skip = leadingTag > at ? leadingTag - at : 0;
      if (skip >= piece.size()) return;
      piece.remove_prefix(skip);
      at += skip;
      const auto found = std::find_if(piece.begin(), piece.end(), [](char c) { return c != 0; });
      if (found == piece.end()) return;
      const auto offset = static_cast<std::size_t>(found - piece.begin());
      firstNonZero = at + offset;
      piece.remove_prefix(offset);
    }
    if (lead.size() < kLeadBytes) lead.append(piece.substr(0, kLeadBytes - lead.size()));
  }

  void KeepEnds(std::string_view bytes, std::uint64_t at) {
    std::size_t intoHead = 0;
    if (!headRead) {
      intoHead = std::min(kClipHeadBytes - head.size(), bytes.size());
      head.append(bytes.substr(0, intoHead));
      if (head.size() == kClipHeadBytes) ReadHead();
    }
    if (headRead) Look(bytes.substr(intoHead), at + intoHead);
    if (bytes.size() >= kTailBytes) {
      Evict(tail.size());
      Passed(bytes.substr(0, bytes.size() - kTailBytes), at);
      tail.assign(bytes.substr(bytes.size() - kTailBytes));
    } else {
      tail.append(bytes);
      if (tail.size() > kTailBytes) Evict(tail.size() - kTailBytes);
    }
  }

  // The first `count` bytes of the tail leave it.
  void Evict(std::size_t count) {
    Passed(std::string_view(tail).substr(0, count), tailStart);
    tail.erase(0, count);
  }

  // Notes where the last byte that is not zero ends among bytes the tail no longer holds.
  void Passed(std::string_view bytes, std::uint64_t at) {
    const auto last = std::find_if(bytes.rbegin(), bytes.rend(), [](char c) { return c != 0; });
    if (last != bytes.rend()) passedNonZeroEnd = at + static_cast<std::size_t>(bytes.rend() - last);
    tailStart = std::max(tailStart, at + bytes.size());
  }

  void ReadHead() {
    headRead = true;
    leadingTag = LeadingTagLength(head);
    Look(head, 0);
  }

  // Whether the bytes between a leading tag and the first frame are zeros, or an encoder's
  // info frame of the clip's format, perhaps after zeros.
  bool LeadIsMp3() const {
    if (firstNonZero >= firstFrame) return true;
    const std::optional<MpegHeader> header = ReadMpegHeader(lead);
    if (!header || !IsEncoderInfoFrame(lead) || header->SampleRate != facts.SampleRate) {
      return false;
    }
    const std::uint64_t room = firstFrame - firstNonZero;
    return header->Length == room || (header->Length == 0 && room <= kLongestMpegFrame);
  }

  // What stands before the first frame and after the last: counted as the MP3's when it is
  // tags, padding or an encoder's info frame, else damage.
  void Account() {
    if (!haveFrame) return;
    std::uint64_t audio = frameBytes;
    const std::uint64_t tagEnd = std::min(leadingTag, firstFrame);
    audio += tagEnd;
    if (LeadIsMp3()) {
      audio += firstFrame - tagEnd;
    } else {
      facts.Problems.insert(facts.Problems.begin(),
                            DecodeProblem{DecodeProblem::Kind::NotAudio, tagEnd, 0});
    }
    const std::uint64_t end = facts.Bytes;
    if (end > frameEnd) {
      const std::uint64_t tags = TrailingTagsLength(tail, end - frameEnd);
      audio += tags;
      const std::uint64_t loose = end - tags - frameEnd;
      // What of the rest the tail holds, and whether the bytes before it are zeros.
      const std::uint64_t seenFrom = std::max(frameEnd, tailStart);
      const std::uint64_t restEnd = end - tags;
      const std::string_view rest = std::string_view(tail).substr(
          seenFrom - tailStart, restEnd > seenFrom ? restEnd - seenFrom : 0);
      if (loose > 0 && passedNonZeroEnd <= frameEnd && AllZero(rest)) {
        audio += loose;
      } else if (loose > 0 && !failed) {
        const std::optional<MpegHeader> header = ReadMpegHeader(rest);
        const bool cut = seenFrom == frameEnd && header && header->Layer == facts.Layer &&
                         header->SampleRate == facts.SampleRate && loose < kLongestMpegFrame;
        Problem(cut ? DecodeProblem::Kind::TruncatedLastFrame : DecodeProblem::Kind::NotAudio,
                frameEnd);
      }
    }
    facts.AudioBytes = std::min(audio, facts.Bytes);
  }
};

ClipProbe::ClipProbe(ProbeDepth depth) : decoder_(std::make_unique<Decoder>()) {
  decoder_->depth = depth;
}

ClipProbe::~ClipProbe() = default;

void ClipProbe::Feed(std::string_view bytes) {
  Decoder& d = *decoder_;
  d.KeepEnds(bytes, d.facts.Bytes);
  d.facts.Bytes += bytes.size();
  if (d.failed || bytes.empty()) return;
  if (!d.stream.Feed(bytes)) {
    d.Problem(DecodeProblem::Kind::DecoderError, d.facts.Bytes - bytes.size());
    d.failed = true;
    return;
  }
  d.Drain();
}

ClipFacts ClipProbe::Finish() {
  Decoder& d = *decoder_;
  d.Drain();
  if (d.depth == ProbeDepth::Scan) d.LeaveOutEncoderPadding();
  if (!d.headRead) d.ReadHead();
  d.Account();
  d.facts.Container = ContainerOf(d.head);
  return d.facts;
}

ClipFacts ProbeClipFile(InputFile& file, const ProbeFileOptions& options) {
  ClipFacts unread;
  unread.Unread = true;
  unread.Bytes = file.Size();
  if (file.Size() > options.MaxBytes) return unread;
  ClipProbe probe(options.Depth);
  std::vector<char> buffer(kReadChunkBytes);
  std::uint64_t read = 0;
  while (const std::size_t got = file.Read(buffer.data(), buffer.size())) {
    if (read + got > options.MaxBytes) {
      unread.Bytes = read + got;
      return unread;
    }
    read += got;
    const std::string_view piece(buffer.data(), got);
    probe.Feed(piece);
    if (options.AlsoSee) options.AlsoSee(piece);
    if (options.Cancel && options.Cancel->load()) break;
  }
  return probe.Finish();
}

ClipFacts ProbeClipFile(const std::string& path, const ProbeFileOptions& options) {
  InputFile file(path);
  return ProbeClipFile(file, options);
}

ClipFacts ProbeClipBytes(std::string_view bytes) {
  ClipProbe probe;
  for (std::size_t at = 0; at < bytes.size(); at += kReadChunkBytes) {
    probe.Feed(bytes.substr(at, kReadChunkBytes));
  }
  return probe.Finish();
}

}  // namespace pwx
