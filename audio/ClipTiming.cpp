#include "audio/ClipTiming.h"

#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "audio/ClipTags.h"
#include "audio/MpegStream.h"
#include "audio/SoundFileDecoder.h"
#include "common/EditorError.h"
#include "common/FileReading.h"

namespace pwx {

namespace {

const float kAudible = static_cast<float>(std::pow(10.0, kSilenceDbfs / 20.0));
// The decoder's own delay, which it leaves out together with the encoder's when the clip's
// info frame names them.
constexpr std::uint64_t kDecoderDelay = 529;
// A Layer III frame may take its data from up to 511 bytes before it: decoding the end of a
// clip starts this far (and at least two frames) earlier, and drops what those frames give.
constexpr std::uint64_t kReservoirBytes = 512;
constexpr std::uint64_t kWarmUpFrames = 2;
constexpr std::size_t kFirstHeadFrames = 4;
constexpr std::size_t kFirstTailFrames = 8;
constexpr std::size_t kScanPieceBytes = 4 * 1024;

// The clip's bytes, read where they are needed: in pieces for the scan, and only the ends
// for decoding.
class ClipBytes {
 public:
  virtual ~ClipBytes() = default;
  virtual std::uint64_t Size() const = 0;
  // The bytes from `from`, at most `length` of them.
  virtual std::string_view Read(std::uint64_t from, std::size_t length) = 0;
};

class MemoryBytes final : public ClipBytes {
 public:
  explicit MemoryBytes(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  std::string_view Read(std::uint64_t from, std::size_t length) override {
    return from >= bytes_.size() ? std::string_view()
                                 : bytes_.substr(static_cast<std::size_t>(from), length);
  }

 private:
  std::string_view bytes_;
};

class FileBytes final : public ClipBytes {
 public:
  explicit FileBytes(InputFile& file) : file_(file) {}
  std::uint64_t Size() const override { return file_.Size(); }
  std::string_view Read(std::uint64_t from, std::size_t length) override {
    if (from >= file_.Size()) return {};
    length = static_cast<std::size_t>(std::min<std::uint64_t>(length, file_.Size() - from));
    if (buffer_.size() < length) buffer_.resize(length);
    if (from != position_) file_.Seek(from);
    std::size_t got = 0;
    while (got < length) {
      const std::size_t piece = file_.Read(buffer_.data() + got, length - got);
      if (piece == 0) break;
      got += piece;
    }
    position_ = from + got;
    return {buffer_.data(), got};
  }

 private:
  InputFile& file_;
  std::vector<char> buffer_;
  std::uint64_t position_ = 0;
};

bool Loud(float sample) {
  return std::fabs(sample) > kAudible;
}

// Where each frame of the clip's own format starts, from the frames' headers alone.
struct FrameMap {
  std::vector<std::uint64_t> Starts;
  std::uint64_t SamplesPerFrame = 0;
  long SampleRate = 0;
  int Channels = 0;
  int Layer = 0;
  std::optional<std::uint64_t> Delay;
  std::optional<std::uint64_t> DelayAndPadding;

  std::uint64_t RawSamples() const { return Starts.size() * SamplesPerFrame; }
  // Where in the frames' raw samples the gapless ones start.
  std::uint64_t GaplessOffset() const {
    return DelayAndPadding && Delay ? *Delay + kDecoderDelay : 0;
  }
  std::uint64_t GaplessSamples() const {
    const std::uint64_t raw = RawSamples();
    return DelayAndPadding && *DelayAndPadding < raw ? raw - *DelayAndPadding : raw;
  }
};

FrameMap MapFrames(ClipBytes& bytes) {
  MpegStream stream(MpegStream::Samples::Float, false);
  FrameMap map;
  MpegVersion version = MpegVersion::V1;
  std::uint64_t fed = 0;
  for (;;) {
    const MpegStream::Step step = stream.SkipFrame();
    if (step == MpegStream::Step::NeedMore && fed < bytes.Size()) {
      // Fed in pieces, as the decoder's buffers like it best.
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
  return map;
}

// Decodes what has been fed, handing each frame's interleaved samples of the clip's own
// format on; false when `take` wants no more.
template <typename Take>
bool DecodeFed(MpegStream& stream, const FrameMap& map, Take&& take) {
  std::optional<MpegStream::Output> format;
  for (;;) {
    std::string_view audio;
    const MpegStream::Step step = stream.DecodeFrame(audio);
    if (step == MpegStream::Step::NewFormat) continue;
    if (step != MpegStream::Step::Frame) return true;
    const MpegStream::Output output = stream.OutputFormat();
    if (output.Rate != map.SampleRate || output.Channels != map.Channels || audio.empty()) {
      continue;
    }
    std::vector<float> samples(audio.size() / sizeof(float));
    std::memcpy(samples.data(), audio.data(), samples.size() * sizeof(float));
    if (!take(samples)) return false;
  }
}

// Samples before the first audible one, decoding from the start a few frames at a time;
// `total` when none is audible.
std::uint64_t LeadingSilence(ClipBytes& bytes, const FrameMap& map, std::uint64_t total) {
  MpegStream stream(MpegStream::Samples::Float, true);
  const auto channels = static_cast<std::size_t>(map.Channels);
  std::uint64_t before = 0;
  std::optional<std::uint64_t> found;
  std::uint64_t fed = 0;
  std::size_t frames = 0;
  std::size_t step = kFirstHeadFrames;
  while (fed < bytes.Size() && !found) {
    frames += step;
    step *= 2;
    const std::uint64_t end = frames < map.Starts.size() ? map.Starts[frames] : bytes.Size();
    if (end <= fed) continue;
    const std::string_view piece = bytes.Read(fed, static_cast<std::size_t>(end - fed));
    if (piece.empty() || !stream.Feed(piece)) break;
    fed += piece.size();
    DecodeFed(stream, map, [&](const std::vector<float>& samples) {
      for (std::size_t i = 0; i < samples.size(); ++i) {
        if (Loud(samples[i])) {
          found = before + i / channels;
          return false;
        }
      }
      before += samples.size() / channels;
      return true;
    });
  }
  return found ? std::min(*found, total) : total;
}

// Samples after the last audible one, decoding the clip's end only, further back while it
// stays silent. The clip has an audible sample somewhere.
std::uint64_t TrailingSilence(ClipBytes& bytes, const FrameMap& map, std::uint64_t total) {
  const auto channels = static_cast<std::size_t>(map.Channels);
  const std::uint64_t frames = map.Starts.size();
  const std::uint64_t spf = map.SamplesPerFrame;
  const std::uint64_t offset = map.GaplessOffset();
  for (std::uint64_t window = kFirstTailFrames;; window *= 4) {
    const std::uint64_t first = frames > window ? frames - window : 0;
    std::uint64_t start = first;
    while (start > 0 && (first - start < kWarmUpFrames ||
                         map.Starts[first] - map.Starts[start] < kReservoirBytes)) {
      --start;
    }
    MpegStream stream(MpegStream::Samples::Float, false);
    const std::uint64_t from = start == 0 ? 0 : map.Starts[start];
    std::vector<float> raw;
    if (stream.Feed(bytes.Read(from, static_cast<std::size_t>(bytes.Size() - from)))) {
      DecodeFed(stream, map, [&](const std::vector<float>& samples) {
        raw.insert(raw.end(), samples.begin(), samples.end());
        return true;
      });
    }
    // The decoded samples end where the clip's last frame ends.
    const std::uint64_t decoded = raw.size() / channels;
    const std::uint64_t rawEnd = frames * spf;
    const std::uint64_t rawStart = rawEnd > decoded ? rawEnd - decoded : 0;
    for (std::uint64_t j = decoded; j-- > 0;) {
      const std::uint64_t at = rawStart + j;
      if (at < first * spf || at < offset) break;
      const std::uint64_t gapless = at - offset;
      if (gapless >= total) continue;
      for (std::size_t c = 0; c < channels; ++c) {
        if (Loud(raw[static_cast<std::size_t>(j) * channels + c])) return total - gapless - 1;
      }
    }
    if (first == 0) return 0;
  }
}

ClipTiming TimeClip(ClipBytes& bytes, const std::string& name) {
  const FrameMap map = MapFrames(bytes);
  if (map.Starts.empty()) throw EditorError(NotAudioText(name));
  ClipTiming timing;
  timing.SampleRate = map.SampleRate;
  timing.Channels = map.Channels;
  timing.Layer = map.Layer;
  timing.Bytes = bytes.Size();
  timing.Container = ContainerOf(bytes.Read(0, kClipHeadBytes));
  timing.Samples = map.GaplessSamples();
  timing.LeadingSilence = LeadingSilence(bytes, map, timing.Samples);
  if (!timing.Silent()) {
    timing.TrailingSilence = TrailingSilence(bytes, map, timing.Samples);
    if (timing.LeadingSilence + timing.TrailingSilence >= timing.Samples) {
      timing.TrailingSilence = timing.Samples - timing.LeadingSilence - 1;
    }
  }
  return timing;
}

}  // namespace

ClipTiming TimeClipBytes(std::string_view bytes, const std::string& name) {
  MemoryBytes memory(bytes);
  return TimeClip(memory, name);
}

ClipTiming TimeClipFile(const std::string& path) {
  InputFile file(path);
  if (file.Size() == 0) throw EditorError(EmptySoundText(path));
  FileBytes bytes(file);
  return TimeClip(bytes, path);
}

}  // namespace pwx
