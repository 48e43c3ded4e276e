#include "audio/ClipIntake.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/ClipProbe.h"
#include "audio/EncodedLoudness.h"
#include "audio/LoudnessMeter.h"
#include "audio/Mp3Encoder.h"
#include "audio/PreparedSound.h"
#include "audio/SoundFileDecoder.h"
#include "common/EditorError.h"
#include "common/FileReplacement.h"
#include "common/MessageText.h"

namespace pwx {

std::string DurationText(double seconds) {
  const auto tenths = static_cast<long long>(std::llround(std::max(seconds, 0.0) * 10));
  const long long hours = tenths / 36000;
  const long long minutes = tenths / 600 % 60;
  const double rest = static_cast<double>(tenths % 600) / 10;
  char text[48];
  if (hours > 0) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%04.1f", hours, minutes, rest);
  } else {
    std::snprintf(text, sizeof text, "%lld:%04.1f", minutes, rest);
  }
  return text;
}

std::string TooLongForPlayerText(const std::string& source, double seconds, std::uint64_t limit) {
  std::string text(1, '"');
  text += QuotePath(source);
  text += "\" is too long for the player: it lasts ";
  text += DurationText(seconds);
  text += ", and as an MP3 it would pass the player's limit of ";
  text += GroupedDigits(limit);
  text += " bytes. Shorten it and import it again.";
  return text;
}

namespace {

// Levelling measures the source's loudness and its sample peak, which is cheap, and the true
// peak of the MP3 as it is encoded, on a second thread. The gain aims the source's peak this
// far under the ceiling: a true peak lies above the sample peak, and encoding can raise peaks
// a little. An MP3 source, which levelling may copy as it is, is measured for its true peak
// at once, and aimed closer.
constexpr double kSamplePeakAimDbfs = kPeakCeilingDbtp - 1.0;
constexpr double kTruePeakAimDbtp = kPeakCeilingDbtp - 0.5;
// The MP3 is encoded again with a corrected gain when its own true peak passes this (room for
// meters that oversample differently) or its loudness is further than this from the target
// (encoding drops the highest frequencies, which can take some loudness with them).
constexpr double kPeakAcceptedDbtp = kPeakCeilingDbtp - 0.2;
constexpr double kLoudnessToleranceLu = 0.2;
// The measuring pass decodes only; encoding takes most of the time.
constexpr double kMeasuringShare = 0.15;
constexpr std::size_t kWriteBytes = 64 * 1024;

// Raised by the encoder's sink when the clip grows past the limit; never leaves this file.
struct OverLimit {};

bool IsCancelled(const IntakeOptions& options) {
  return options.Cancel && options.Cancel->load();
}

// Progress in stages: each stage takes a share of what is left, so the fraction never goes
// back, even when a stage is done again. Reports only steps of half a percent.
class ProgressReport {
 public:
  explicit ProgressReport(const std::function<void(double)>& report) : report_(report) {}

  void Begin(double share) {
    start_ = last_;
    width_ = (1 - last_) * share;
  }
  void At(double fraction) {
    const double value = start_ + width_ * std::clamp(fraction, 0.0, 1.0);
    if (report_ && value >= last_ + 0.005) {
      last_ = value;
      report_(value);
    }
  }
  void Done() {
    if (report_) report_(1);
  }

 private:
  const std::function<void(double)>& report_;
  double start_ = 0;
  double width_ = 0;
  double last_ = 0;
};

struct Loudness {
  std::optional<double> Lufs;
  std::optional<double> PeakDb;
  PeakMeasure Peak = PeakMeasure::True;
};

// Measures a prepared sound; none when cancelled.
std::optional<Loudness> Measure(PreparedSound& sound, PeakMeasure peak,
                                const IntakeOptions& options, ProgressReport& progress) {
  LoudnessMeter meter(PreparedSound::kRate, sound.Channels(), peak);
  const auto channels = static_cast<std::size_t>(sound.Channels());
  for (std::span<float> block = sound.Next(); !block.empty(); block = sound.Next()) {
    if (IsCancelled(options)) return std::nullopt;
    meter.Add(block.data(), block.size() / channels);
    progress.At(sound.FractionRead());
  }
  return Loudness{meter.IntegratedLufs(), meter.PeakDb(), peak};
}

// The gain that brings the measured sound to the target, or its peak to the aim below the
// ceiling, whichever is less; none (0 dB) for a sound that cannot be measured.
double LevellingGain(const Loudness& measured) {
  if (!measured.Lufs) return 0;
  double gain = kTargetLoudnessLufs - *measured.Lufs;
  const double aim = measured.Peak == PeakMeasure::True ? kTruePeakAimDbtp : kSamplePeakAimDbfs;
  if (measured.PeakDb) gain = std::min(gain, aim - *measured.PeakDb);
  return gain;
}

// What it takes to bring an encoded clip where it belongs: 0 when it is there.
double GainCorrection(const EncodedLoudness& encoded) {
  if (!encoded.Lufs) return 0;
  double correction = kTargetLoudnessLufs - *encoded.Lufs;
  const std::optional<double> peak = encoded.TruePeakDbtp;
  if (peak) correction = std::min(correction, kTruePeakAimDbtp - *peak);
  const bool peakOver = peak && *peak > kPeakAcceptedDbtp;
  return peakOver || std::abs(correction) > kLoudnessToleranceLu ? correction : 0;
}

struct Encoded {
  std::uint64_t Bytes = 0;
  EncodedLoudness Output;  // measured only when asked
};

// Encodes a prepared sound with a gain into `out`; none when cancelled. Raises OverLimit.
std::optional<Encoded> Encode(PreparedSound& sound, double gainDb, bool measure,
                              FileReplacement& out, const IntakeOptions& options,
                              ProgressReport& progress) {
  Encoded encoded;
  std::optional<EncodedLoudnessMeter> meter;
  if (measure) meter.emplace();
  std::string pending;
  Mp3Encoder encoder(sound.Channels(), [&](std::string_view bytes) {
    encoded.Bytes += bytes.size();
    if (encoded.Bytes > options.MaxBytes) throw OverLimit{};
    if (meter) meter->Feed(bytes);
    pending += bytes;
    if (pending.size() >= kWriteBytes) {
      out.Write(pending);
      pending.clear();
    }
  });
  const auto gain = static_cast<float>(std::pow(10.0, gainDb / 20));
  const auto channels = static_cast<std::size_t>(sound.Channels());
  for (std::span<float> block = sound.Next(); !block.empty(); block = sound.Next()) {
    if (IsCancelled(options)) return std::nullopt;
    if (gainDb != 0) {
      for (float& sample : block) sample *= gain;
    }
    encoder.Encode(block.data(), block.size() / channels);
    progress.At(sound.FractionRead());
  }
  const std::string tag = encoder.Finish();
  out.Write(pending);
  out.Overwrite(0, tag);
  if (meter) encoded.Output = meter->Finish();
  return encoded;
}

// The whole length of a sound being encoded when the clip passed the limit: what measuring
// found, what the source announces, or what the rest decodes to.
double WholeSeconds(PreparedSound& sound, std::uint64_t measuredFrames) {
  if (measuredFrames > 0) return static_cast<double>(measuredFrames) / PreparedSound::kRate;
  if (const std::optional<double> announced = sound.SecondsAnnounced()) return *announced;
  while (!sound.Next().empty()) {
  }
  return static_cast<double>(sound.FramesGiven()) / PreparedSound::kRate;
}

// An MP3 copied as it is, with the facts of its frames (decoded, for the exact length).
IntakeResult CopyUnchanged(const std::string& source, const std::string& dest,
                           const IntakeOptions& options) {
  const ClipFacts facts = ProbeClipFile(source);
  if (!CopyFileOver(source, dest, options.MaxBytes)) {
    throw EditorError(TooLongForPlayerText(source, facts.Seconds(), options.MaxBytes));
  }
  IntakeResult result;
  result.Reencoded = false;
  result.Seconds = facts.Seconds();
  result.SampleRate = facts.SampleRate;
  result.Channels = facts.Channels;
  result.Bytes = facts.Bytes;
  return result;
}

IntakeResult CancelledResult() {
  IntakeResult result;
  result.Cancelled = true;
  result.Reencoded = false;
  return result;
}

}  // namespace

IntakeResult ConvertClip(const std::string& source, const std::string& dest,
                         const IntakeOptions& options) {
  ProgressReport progress(options.Progress);
  OpenedSound opened = OpenSound(source);
  const bool mp3 = opened.MpegLayer == 3;
  if (mp3 && !options.Level) {
    opened.Pcm.reset();
    IntakeResult result = CopyUnchanged(source, dest, options);
    progress.Done();
    return result;
  }

  IntakeResult result;
  std::optional<Loudness> before;
  std::uint64_t measuredFrames = 0;
  if (options.Level) {
    progress.Begin(kMeasuringShare);
    PreparedSound sound(std::move(opened));
    before = Measure(sound, mp3 ? PeakMeasure::True : PeakMeasure::Sample, options, progress);
    if (!before) return CancelledResult();
    measuredFrames = sound.FramesGiven();
    if (measuredFrames == 0) throw EditorError(EmptySoundText(source));
    result.LoudnessBefore = before->Lufs;
    result.GainDb = LevellingGain(*before);
    if (mp3 && std::abs(result.GainDb) <= kLoudnessToleranceLu &&
        (!before->PeakDb || *before->PeakDb <= kPeakAcceptedDbtp)) {
      result = CopyUnchanged(source, dest, options);
      result.LoudnessBefore = result.LoudnessAfter = before->Lufs;
      result.TruePeakAfter = before->PeakDb;
      progress.Done();
      return result;
    }
    opened = OpenSound(source);
  }

  // Encoded once; when levelling finds the MP3 off the mark, once more with the gain corrected.
  for (int encoding = 1;; ++encoding) {
    progress.Begin(1);
    auto sound = std::make_unique<PreparedSound>(std::move(opened));
    FileReplacement out(dest);
    std::optional<Encoded> encoded;
    try {
      encoded = Encode(*sound, result.GainDb, options.Level, out, options, progress);
    } catch (const OverLimit&) {
      const double seconds = WholeSeconds(*sound, measuredFrames);
      throw EditorError(TooLongForPlayerText(source, seconds, options.MaxBytes));
    }
    if (!encoded) return CancelledResult();
    if (sound->FramesGiven() == 0) throw EditorError(EmptySoundText(source));
    const double correction = before && before->Lufs ? GainCorrection(encoded->Output) : 0;
    if (encoding == 1 && correction != 0) {
      result.GainDb += correction;
      sound.reset();
      opened = OpenSound(source);
      continue;
    }
    result.Seconds = static_cast<double>(sound->FramesGiven()) / PreparedSound::kRate;
    result.SampleRate = PreparedSound::kRate;
    result.Channels = sound->Channels();
    result.Bytes = encoded->Bytes;
    result.LoudnessAfter = encoded->Output.Lufs;
    result.TruePeakAfter = encoded->Output.TruePeakDbtp;
    sound.reset();  // the source is closed before a copy levelled in place is replaced
    out.Commit();
    progress.Done();
    return result;
  }
}

IntakeResult LevelProjectCopy(const std::string& path, const IntakeOptions& options) {
  IntakeOptions levelling = options;
  levelling.Level = true;
  return ConvertClip(path, path, levelling);
}

std::optional<ClipLoudness> MeasureClipLoudness(const std::string& path,
                                                const std::atomic<bool>* cancel) {
  OpenedSound opened = OpenSound(path);
  ClipLoudness facts;
  facts.SampleRate = opened.Pcm->Format().Rate;
  facts.Channels = opened.Pcm->Format().Channels;
  PreparedSound sound(std::move(opened));
  IntakeOptions options;
  options.Cancel = cancel;
  const std::function<void(double)> noReport;
  ProgressReport progress(noReport);
  const std::optional<Loudness> loudness = Measure(sound, PeakMeasure::True, options, progress);
  if (!loudness) return std::nullopt;
  facts.IntegratedLufs = loudness->Lufs;
  facts.TruePeakDbtp = loudness->PeakDb;
  facts.Seconds = static_cast<double>(sound.FramesGiven()) / PreparedSound::kRate;
  return facts;
}

}  // namespace pwx
