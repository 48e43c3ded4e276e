#include "audio/ClipIntake.h"

#include <cmath>

#include "audio/ClipLevelling.h"
#include "audio/EncodedLoudness.h"
#include "audio/Mp3Decoder.h"
#include "audio/Mp3Encoder.h"
#include "audio/PreparedSound.h"
#include "audio/SoundFileDecoder.h"
#include "common/EditorError.h"
#include "common/FileReading.h"
#include "common/FileReplacement.h"
#include "common/FileSystem.h"

namespace pwx {

namespace {

// The first measure decodes only; encoding takes most of the time.
constexpr double kMeasuringShare = 0.15;
// Encoded once; when the MP3 misses the mark, again with the plan corrected.
constexpr int kMostEncodings = 3;
constexpr std::size_t kWriteBytes = 64 * 1024;
constexpr std::size_t kHeadBytes = 4;
// The shortest sound a loudness measure takes: one gating block of 400 ms.
constexpr double kShortestMeasurableSeconds = 0.4;

// Raised by the encoder's sink when the clip grows past the limit; never leaves this file.
struct OverLimit {};

struct Encoded {
  std::uint64_t Bytes = 0;
  double LimitedDb = 0;
  EncodedLoudness Output;  // measured only when asked
};

// Encodes a prepared sound with a treatment into `out`. Raises OverLimit and IntakeCancelled.
Encoded Encode(PreparedSound& sound, const Treatment& treatment, bool measure, FileReplacement& out,
               const IntakeOptions& options, IntakeProgress& progress) {
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
  TreatedSound treated(sound, treatment);
  const auto channels = static_cast<std::size_t>(sound.Channels());
  for (std::span<float> block = treated.Next(); !block.empty(); block = treated.Next()) {
    if (options.Work.Cancelled()) throw IntakeCancelled{};
    encoder.Encode(block.data(), block.size() / channels);
    progress.At(sound.FractionRead());
  }
  const std::string tag = encoder.Finish();
  out.Write(pending);
  out.Overwrite(0, tag);
  encoded.LimitedDb = treated.LimitedDb();
  if (meter) encoded.Output = meter->Finish();
  return encoded;
}

// The length of the source: what its frame headers or its format's header tell, none when
// they do not.
std::optional<double> AnnouncedSeconds(const OpenedSound& opened,
                                       const std::optional<ClipFacts>& frames) {
  if (frames && frames->Samples > 0) return frames->Seconds();
  const std::uint64_t announced = opened.Pcm->FramesAnnounced();
  if (announced == 0) return std::nullopt;
  return static_cast<double>(announced) / static_cast<double>(opened.Pcm->Format().Rate);
}

// The whole length of a sound being encoded when the clip passed the limit: what the source
// announces, or what the rest decodes to.
double WholeSeconds(PreparedSound& sound, const std::optional<double>& announced) {
  if (announced) return *announced;
  while (!sound.Next().empty()) {
  }
  return static_cast<double>(sound.FramesGiven()) / PreparedSound::kRate;
}

// An MP3 copied as it is, with the facts its frame headers gave.
IntakeResult CopyUnchanged(const std::string& source, const std::string& dest,
                           const ClipFacts& facts, const IntakeOptions& options) {
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

IntakeResult Convert(const std::string& source, const std::string& dest,
                     const IntakeOptions& options, IntakeProgress& progress) {
  OpenedSound opened = OpenSound(source);
  // MPEG audio is known by its frame headers: whether the player plays it as it is, and how
  // long it is, at a small part of the cost of decoding it.
  std::optional<ClipFacts> frames;
  if (opened.MpegLayer != 0) {
    ProbeFileOptions scan;
    scan.Depth = ProbeDepth::Scan;
    scan.Cancel = options.Work.Cancel;
    frames = ProbeClipFile(source, scan);
  }
  if (options.Work.Cancelled()) return CancelledResult();
  const bool playable = frames && frames->PlayableMp3();
  if (playable && !options.Level) return CopyUnchanged(source, dest, *frames, options);
  const std::optional<double> announced = AnnouncedSeconds(opened, frames);
  if (announced && SmallestMp3Bytes(*announced) > options.MaxBytes) {
    throw EditorError(TooLongForPlayerText(source, *announced, options.MaxBytes));
  }
  const SoundOpener open = [&] { return std::make_unique<PreparedSound>(OpenSound(source)); };

  IntakeResult result;
  std::optional<LevelPlan> plan;
  if (options.Level) {
    progress.Begin(kMeasuringShare);
    SoundLoudness before;
    {
      PreparedSound sound(std::move(opened));
      before = MeasureSound(sound, playable ? PeakMeasure::True : PeakMeasure::Sample,
                            options.Work.Cancel, progress);
    }
    if (before.Frames == 0) throw EditorError(EmptySoundText(source));
    result.LoudnessBefore = before.Lufs;
    if (!before.Lufs) {
      // Nothing to bring to the target: an MP3 stays as it is, anything else is converted.
      const double seconds = static_cast<double>(before.Frames) / PreparedSound::kRate;
      const LevelOutcome outcome =
          seconds < kShortestMeasurableSeconds ? LevelOutcome::TooShort : LevelOutcome::Silent;
      if (playable) {
        result = CopyUnchanged(source, dest, *frames, options);
        result.Levelling = outcome;
        return result;
      }
      result.Levelling = outcome;
    } else if (playable && IsAtTheLevel(before)) {
      result = CopyUnchanged(source, dest, *frames, options);
      result.Levelling = LevelOutcome::AlreadyLevel;
      result.LoudnessBefore = result.LoudnessAfter = before.Lufs;
      result.TruePeakAfter = before.PeakDb;
      return result;
    } else {
      plan = PlanLevelling(before, open, options.Work.Cancel, progress);
    }
    opened = OpenSound(source);
  }

  for (int encoding = 1;; ++encoding) {
    progress.Begin(1);
    auto sound = std::make_unique<PreparedSound>(std::move(opened));
    FileReplacement out(dest);
    Encoded encoded;
    try {
      encoded = Encode(*sound, plan ? plan->Sound : Treatment{}, plan.has_value(), out, options,
                       progress);
    } catch (const OverLimit&) {
      throw EditorError(
          TooLongForPlayerText(source, WholeSeconds(*sound, announced), options.MaxBytes));
    }
    if (sound->FramesGiven() == 0) throw EditorError(EmptySoundText(source));
    if (plan) {
      const bool onTheMark = IsOnTheMark(encoded.Output);
      if (!onTheMark && encoding < kMostEncodings) {
        sound.reset();
        CorrectPlan(encoded.Output, open, options.Work.Cancel, progress, *plan);
        opened = OpenSound(source);
        continue;
      }
      result.Levelling = onTheMark ? LevelOutcome::Levelled : LevelOutcome::Missed;
      result.GainDb = plan->Sound.GainDb;
      result.LimitedDb = encoded.LimitedDb;
      result.LoudnessAfter = encoded.Output.Lufs;
      result.TruePeakAfter = encoded.Output.TruePeakDbtp;
    }
    result.Seconds = static_cast<double>(sound->FramesGiven()) / PreparedSound::kRate;
    result.SampleRate = PreparedSound::kRate;
    result.Channels = sound->Channels();
    result.Bytes = encoded.Bytes;
    sound.reset();  // the source is closed before a copy levelled in place is replaced
    out.Commit();
    return result;
  }
}

}  // namespace

std::optional<ClipFacts> PlayableMp3Facts(const std::string& path) {
  try {
    const FileRead head = ReadFile(path, kHeadBytes);
    if (!head.Ok() || !StartsLikeMpegAudio(head.Bytes)) return std::nullopt;
    ProbeFileOptions scan;
    scan.Depth = ProbeDepth::Scan;
    ClipFacts facts = ProbeClipFile(path, scan);
    if (facts.PlayableMp3()) return facts;
  } catch (const EditorError&) {
    // A file that cannot be read is the conversion's to refuse, with its reason.
  }
  return std::nullopt;
}

IntakeResult ConvertClip(const std::string& source, const std::string& dest,
                         const IntakeOptions& options) {
  IntakeProgress progress(options.Work, source == dest ? "Levelling " + FileNameOf(dest)
                                                       : "Converting " + FileNameOf(source) +
                                                             " into " + FileNameOf(dest));
  try {
    IntakeResult result = Convert(source, dest, options, progress);
    if (!result.Cancelled) progress.Done();
    return result;
  } catch (const IntakeCancelled&) {
    return CancelledResult();
  }
}

IntakeResult LevelProjectCopy(const std::string& path, const IntakeOptions& options) {
  IntakeOptions levelling = options;
  levelling.Level = true;
  return ConvertClip(path, path, levelling);
}

std::optional<ClipLoudness> MeasureClipLoudness(const std::string& path,
                                                const WorkControl& control) {
  OpenedSound opened = OpenSound(path);
  ClipLoudness facts;
  facts.SampleRate = opened.Pcm->Format().Rate;
  facts.Channels = opened.Pcm->Format().Channels;
  PreparedSound sound(std::move(opened));
  IntakeProgress progress(control, "Measuring " + FileNameOf(path));
  try {
    const SoundLoudness loudness = MeasureSound(sound, PeakMeasure::True, control.Cancel, progress);
    facts.IntegratedLufs = loudness.Lufs;
    facts.TruePeakDbtp = loudness.PeakDb;
    facts.Seconds = static_cast<double>(loudness.Frames) / PreparedSound::kRate;
  } catch (const IntakeCancelled&) {
    return std::nullopt;
  }
  return facts;
}

}  // namespace pwx
