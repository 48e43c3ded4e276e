#include "audio/ClipProbe.h"

#include <vector>

#include "audio/MpegFeed.h"
#include "common/EditorError.h"
#include "common/FileReading.h"

namespace pwx {

namespace {

constexpr std::size_t kReadChunkBytes = 64 * 1024;
constexpr std::size_t kTailBytes = 4096;  // more than the longest frame and an ID3v1 tag
constexpr std::size_t kHeadBytes = 12;

std::string VersionText(int version) {
  switch (version) {
    case MPG123_1_0:
      return "1";
    case MPG123_2_0:
      return "2";
    default:
      return "2.5";
  }
}

// What kind of file the first bytes announce, when it is one that is often mistaken for MP3.
std::string ContainerOf(std::string_view head) {
  if (head.size() >= kHeadBytes && head.substr(0, 4) == "RIFF" && head.substr(8, 4) == "WAVE") {
    return "WAV";
  }
  if (head.substr(0, 4) == "fLaC") return "FLAC";
  if (head.substr(0, 4) == "OggS") return "Ogg";
  return {};
}

bool StartsLikeAFrame(std::string_view bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         (static_cast<unsigned char>(bytes[1]) & 0xE0) == 0xE0;
}

}  // namespace

struct ClipProbe::Decoder {
  mpg123_handle* handle = nullptr;
  ProbeDepth depth = ProbeDepth::Decode;
  ClipFacts facts;
  bool failed = false;  // the decoder gave up; later bytes are only counted
  bool haveFrame = false;
  std::uint64_t frameEnd = 0;  // where the last decoded frame ends in the file
  int lastBitrate = 0;
  std::string head;
  std::string tail;

  double SecondsSoFar() const { return facts.Seconds(); }

  void Problem(DecodeProblem::Kind kind, std::uint64_t offset) {
    facts.Problems.push_back({kind, offset, SecondsSoFar()});
  }

  void NoteFrame(std::size_t outputBytes) {
    mpg123_frameinfo2 info{};
    mpg123_info2(handle, &info);
    const int channels = info.mode == MPG123_M_MONO ? 1 : 2;
    if (haveFrame && (VersionText(info.version) != facts.MpegVersion || info.layer != facts.Layer ||
                      info.rate != facts.SampleRate || channels != facts.Channels)) {
      // Damaged bytes can look like a frame of some other format: it is passed over as part
      // of the damage, which ends at the next frame of the clip's own format.
      return;
    }
    const auto position = static_cast<std::uint64_t>(mpg123_framepos(handle));
    if (haveFrame && position > frameEnd) Problem(DecodeProblem::Kind::LostSync, frameEnd);
    frameEnd = position + static_cast<std::uint64_t>(info.framesize);
    haveFrame = true;
    ++facts.Frames;
    facts.MpegVersion = VersionText(info.version);
    facts.Layer = info.layer;
    facts.SampleRate = info.rate;
    facts.Channels = channels;
    if (info.vbr != MPG123_CBR || (lastBitrate != 0 && info.bitrate != lastBitrate)) {
      facts.VariableBitRate = true;
    }
    lastBitrate = info.bitrate;
    facts.Samples += outputBytes / (2 * static_cast<std::size_t>(channels));
  }

  // Decodes every whole frame the decoder holds.
  void Drain() {
    while (!failed) {
      off_t number = 0;
      unsigned char* audio = nullptr;
      std::size_t bytes = 0;
      const int result = depth == ProbeDepth::Decode
                             ? mpg123_decode_frame(handle, &number, &audio, &bytes)
                             : mpg123_framebyframe_next(handle);
      if (result == MPG123_NEED_MORE || result == MPG123_DONE) return;
      if (result == MPG123_NEW_FORMAT) {
        continue;  // the format is read from each frame
      }
      if (result != MPG123_OK) {
        Problem(DecodeProblem::Kind::DecoderError,
                static_cast<std::uint64_t>(mpg123_tell_stream(handle)));
        failed = true;
        return;
      }
      if (depth == ProbeDepth::Scan) {
        // What decoding the frame would give: its samples in 16 bits for each channel.
        mpg123_frameinfo2 info{};
        mpg123_info2(handle, &info);
        bytes = static_cast<std::size_t>(mpg123_spf(handle)) * 2 *
                (info.mode == MPG123_M_MONO ? 1u : 2u);
      }
      NoteFrame(bytes);
    }
  }

  // The file ends inside a frame when what follows the last whole frame, less an ID3v1 tag,
  // starts like a frame.
  void NoteCutEnd() {
    if (!haveFrame || failed || facts.Bytes <= frameEnd) return;
    const std::uint64_t rest = facts.Bytes - frameEnd;
    if (rest > tail.size()) return;
    std::string_view extra = std::string_view(tail).substr(tail.size() - rest);
    if (extra.size() >= 128 && extra.substr(extra.size() - 128, 3) == "TAG") {
      extra.remove_suffix(128);
    }
    if (StartsLikeAFrame(extra)) Problem(DecodeProblem::Kind::TruncatedLastFrame, frameEnd);
  }
};

ClipProbe::ClipProbe(ProbeDepth depth) : decoder_(std::make_unique<Decoder>()) {
  decoder_->depth = depth;
  // Any rate and channel count, 16-bit: the samples are only counted.
  decoder_->handle = NewMpegFeed(MPG123_ENC_SIGNED_16);
}

ClipProbe::~ClipProbe() {
  if (decoder_->handle) mpg123_delete(decoder_->handle);
}

void ClipProbe::Feed(std::string_view bytes) {
  Decoder& d = *decoder_;
  d.facts.Bytes += bytes.size();
  if (d.head.size() < kHeadBytes) d.head.append(bytes.substr(0, kHeadBytes - d.head.size()));
  d.tail.append(bytes.substr(bytes.size() > kTailBytes ? bytes.size() - kTailBytes : 0));
  if (d.tail.size() > kTailBytes) d.tail.erase(0, d.tail.size() - kTailBytes);
  if (d.failed || bytes.empty()) return;
  if (mpg123_feed(d.handle, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) !=
      MPG123_OK) {
    d.Problem(DecodeProblem::Kind::DecoderError, d.facts.Bytes - bytes.size());
    d.failed = true;
    return;
  }
  d.Drain();
}

ClipFacts ClipProbe::Finish() {
  Decoder& d = *decoder_;
  d.Drain();
  d.NoteCutEnd();
  d.facts.Container = ContainerOf(d.head);
  return d.facts;
}

ClipFacts ProbeClipFile(const std::string& path, const ProbeFileOptions& options) {
  InputFile file(path);
  ClipProbe probe(options.Depth);
  std::vector<char> buffer(kReadChunkBytes);
  while (const std::size_t got = file.Read(buffer.data(), buffer.size())) {
    const std::string_view piece(buffer.data(), got);
    probe.Feed(piece);
    if (options.AlsoSee) options.AlsoSee(piece);
    if (options.Cancel && options.Cancel->load()) break;
  }
  return probe.Finish();
}

ClipFacts ProbeClipBytes(std::string_view bytes) {
  ClipProbe probe;
  for (std::size_t at = 0; at < bytes.size(); at += kReadChunkBytes) {
    probe.Feed(bytes.substr(at, kReadChunkBytes));
  }
  return probe.Finish();
}

}  // namespace pwx
