#include "audio/ClipTiming.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "audio/ClipBytes.h"
#include "audio/ClipTags.h"
#include "audio/FrameMap.h"
#include "audio/MpegStream.h"
#include "audio/SoundFileDecoder.h"
#include "common/EditorError.h"
#include "common/FileReading.h"

namespace pwx {

namespace {

const float kAudible = static_cast<float>(std::pow(10.0, kSilenceDbfs / 20.0));
// Decoding the end of a clip starts earlier, and drops what those frames give. A frame's
// samples depend on the two granules of 18 blocks before it (the synthesis remembers 16
// blocks of each band, a granule's transform adds the half of the one before it): the frames
// that hold those must be decoded from whole data. That is the one frame before in MPEG-1
// Layer III (two granules) and Layer II (36 blocks), the two before in MPEG-2 and 2.5 Layer
// III (one granule) and Layer I (12 blocks).
std::uint64_t WarmUpFrames(const FrameMap& map) {
  const bool oneGranule = map.Layer == 3 && map.SamplesPerFrame == 576;
  return map.Layer == 1 || oneGranule ? 2 : 1;
}

// Most clips sound within their first frames and until their last: the ends are decoded a
// few frames at a time, further in only while they stay silent.
constexpr std::size_t kFirstHeadFrames = 2;
constexpr std::uint64_t kFirstTailFrames = 1;
// A frame's header is four bytes: feeding them after the last frame wanted lets the decoder
// see that frame end.
constexpr std::size_t kHeaderBytes = 4;

bool Loud(float sample) {
  return std::fabs(sample) > kAudible;
}

// Decodes what has been fed, handing each frame's interleaved samples of the clip's own
// format on; false when `take` wants no more.
template <typename Take>
bool DecodeFed(MpegStream& stream, const FrameMap& map, Take&& take) {
  std::vector<float> samples;
  for (;;) {
    std::string_view audio;
    const MpegStream::Step step = stream.DecodeFrame(audio);
    if (step == MpegStream::Step::NewFormat) continue;
    if (step != MpegStream::Step::Frame) return true;
    const MpegStream::Output output = stream.OutputFormat();
    if (output.Rate != map.SampleRate || output.Channels != map.Channels || audio.empty()) {
      continue;
    }
    samples.resize(audio.size() / sizeof(float));
    std::memcpy(samples.data(), audio.data(), samples.size() * sizeof(float));
    if (!take(std::as_const(samples))) return false;
  }
}

// Samples before the first audible one, decoding from the start a few frames at a time;
// none when no sample is audible. Takes the delay and padding the info frame names, as the
// decoder reads them, into `map`.
std::optional<std::uint64_t> LeadingSilence(ClipBytes& bytes, FrameMap& map, MpegStream& stream) {
  stream.Restart();
  const auto channels = static_cast<std::size_t>(map.Channels);
  std::uint64_t before = 0;
  std::optional<std::uint64_t> found;
  std::uint64_t fed = 0;
  std::size_t frames = 0;
  std::size_t step = kFirstHeadFrames;
  while (fed < bytes.Size() && !found) {
    frames += step;
    step *= 2;
    const std::uint64_t end = frames < map.Starts.size()
                                  ? std::min(map.Starts[frames] + kHeaderBytes, bytes.Size())
                                  : bytes.Size();
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
  if (map.InfoFrame && !map.Delay) {
    map.Delay = stream.EncoderDelaySamples();
    map.DelayAndPadding = stream.EncoderPaddingSamples();
  }
  return found;
}

// Samples after the last audible one, decoding the clip's last frames only, and the frames
// before them while those stay silent. The clip has an audible sample somewhere.
std::uint64_t TrailingSilence(ClipBytes& bytes, const FrameMap& map, std::uint64_t total,
                              MpegStream& stream) {
  const auto channels = static_cast<std::size_t>(map.Channels);
  const std::uint64_t spf = map.SamplesPerFrame;
  const std::uint64_t offset = map.GaplessOffset();
  std::vector<float> raw;
  // Frames from `end` on are known to be silent.
  std::uint64_t end = map.Starts.size();
  for (std::uint64_t window = kFirstTailFrames; end > 0; window *= 4) {
    const std::uint64_t first = end > window ? end - window : 0;
    // From the first frame whose data those frames need, so that the samples from `first` on
    // are those of the whole clip's decode.
    const std::uint64_t warmUp = std::min(WarmUpFrames(map), first);
    std::uint64_t start = first - warmUp;
    for (std::uint64_t frame = first - warmUp; frame <= first; ++frame) {
      start = std::min(start, FirstFrameNeeded(bytes, map, frame));
    }
    // Where damage stands between them, the decoder may pass over a frame the whole decode
    // took: this window is decoded from the start.
    if (!FramesFollow(bytes, map, start, first + 1)) start = 0;
    stream.Restart();
    const std::uint64_t from = start == 0 ? 0 : map.Starts[start];
    const std::uint64_t to = end < map.Starts.size()
                                 ? std::min(map.Starts[end] + kHeaderBytes, bytes.Size())
                                 : bytes.Size();
    raw.clear();
    if (stream.Feed(bytes.Read(from, static_cast<std::size_t>(to - from)))) {
      DecodeFed(stream, map, [&](const std::vector<float>& samples) {
        raw.insert(raw.end(), samples.begin(), samples.end());
        return true;
      });
    }
    // The decoded samples end where frame `end` starts.
    const std::uint64_t decoded = raw.size() / channels;
    const std::uint64_t rawEnd = end * spf;
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
    end = first;
  }
  return 0;
}

// `gapless` and `raw` are decoders of float samples, with and without the encoder's delay and
// padding left out.
ClipTiming TimeClip(ClipBytes& bytes, const std::string& name, MpegStream& gapless,
                    MpegStream& raw) {
  std::optional<FrameMap> walked = WalkFrameHeaders(bytes);
  FrameMap map = walked ? std::move(*walked) : MapFramesByDecoder(bytes);
  if (map.Starts.empty()) throw EditorError(NotAudioText(name));
  ClipTiming timing;
  timing.SampleRate = map.SampleRate;
  timing.Channels = map.Channels;
  timing.Layer = map.Layer;
  timing.Bytes = bytes.Size();
  timing.Container = ContainerOf(bytes.Read(0, kClipHeadBytes));
  const std::optional<std::uint64_t> leading = LeadingSilence(bytes, map, gapless);
  timing.Samples = map.GaplessSamples();
  timing.LeadingSilence = leading ? std::min(*leading, timing.Samples) : timing.Samples;
  if (!timing.Silent()) {
    timing.TrailingSilence = TrailingSilence(bytes, map, timing.Samples, raw);
    if (timing.LeadingSilence + timing.TrailingSilence >= timing.Samples) {
      timing.TrailingSilence = timing.Samples - timing.LeadingSilence - 1;
    }
  }
  return timing;
}

}  // namespace

// The most of a read kept from one clip to the next.
constexpr std::size_t kKeptWindowBytes = 1 << 20;

struct ClipTimer::Decoders {
  MpegStream Gapless{MpegStream::Samples::Float, true};  // for the start, as it plays
  MpegStream Raw{MpegStream::Samples::Float, false};     // for the end, frame by frame
  std::vector<char> Window;
};

ClipTimer::ClipTimer() = default;
ClipTimer::~ClipTimer() = default;

ClipTimer::Decoders& ClipTimer::Ready() {
  // Made on the first clip, so that a decoder that cannot start is that clip's failure.
  if (!decoders_) decoders_ = std::make_unique<Decoders>();
  return *decoders_;
}

ClipTiming ClipTimer::Bytes(std::string_view bytes, const std::string& name) {
  Decoders& decoders = Ready();
  MemoryBytes memory(bytes);
  return TimeClip(memory, name, decoders.Gapless, decoders.Raw);
}

ClipTiming ClipTimer::File(const std::string& path) {
  Decoders& decoders = Ready();
  InputFile file(path);
  if (file.Size() == 0) throw EditorError(EmptySoundText(path));
  FileBytes bytes(file, decoders.Window);
  ClipTiming timing = TimeClip(bytes, path, decoders.Gapless, decoders.Raw);
  // A long silent end is read whole once; that much is not kept for the next clip.
  if (decoders.Window.size() > kKeptWindowBytes) decoders.Window = {};
  return timing;
}

ClipTiming TimeClipBytes(std::string_view bytes, const std::string& name) {
  return ClipTimer().Bytes(bytes, name);
}

ClipTiming TimeClipFile(const std::string& path) {
  return ClipTimer().File(path);
}

}  // namespace pwx
