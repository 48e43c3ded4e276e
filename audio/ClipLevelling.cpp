#include "audio/ClipLevelling.h"

#include <algorithm>
#include <cmath>

#include "audio/IntakeReport.h"

namespace pwx {

namespace {

// The limiter holds peaks a decibel under the ceiling: encoding adds a little overshoot.
constexpr double kLimiterCeilingDbtp = kPeakCeilingDbtp - 1.0;
// Without a limiter, peaks this far under the ceiling stay under it in the MP3: a sample peak
// leaves room for the peaks between samples as well as for the encoder's overshoot.
constexpr double kUnlimitedSamplePeakDbfs = kPeakCeilingDbtp - 2.0;
constexpr double kUnlimitedTruePeakDbtp = kPeakCeilingDbtp - 1.0;
// The MP3 as written, by the editor's meter: its true peak a little under the ceiling (room
// for meters that oversample differently), its loudness this near the target.
constexpr double kPeakAcceptedDbtp = kPeakCeilingDbtp - 0.2;
constexpr double kLoudnessToleranceLu = 0.2;
// A limited sound is measured again until it is this near what it is aimed at; the limiter
// takes a little more with each step of gain, so a few passes do.
constexpr double kCalibratedWithinLu = 0.1;
constexpr int kMostCalibrations = 6;
constexpr double kLargestGainStepDb = 12;
constexpr double kFirstSlope = 0.65;
// A ceiling lowered after a peak passed it goes this far under what was needed.
constexpr double kCeilingMarginDb = 0.3;
constexpr double kCalibrationShare = 0.2;

void StopIfCancelled(const std::atomic<bool>* cancel) {
  if (cancel && cancel->load()) throw IntakeCancelled{};
}

// The loudness of the source with the plan's treatment, as it would go to the encoder. The
// limiter looks at the samples only: it takes nearly the same loudness as the true-peak one,
// at a small part of the cost.
std::optional<double> MeasureTreated(const Treatment& treatment, const SoundOpener& open,
                                     const std::atomic<bool>* cancel, IntakeProgress& progress) {
  const std::unique_ptr<PreparedSound> sound = open();
  Treatment estimate = treatment;
  estimate.Peaks = TruePeakLimiter::Peaks::AtSamples;
  TreatedSound treated(*sound, estimate);
  LoudnessMeter meter(PreparedSound::kRate, treated.Channels(), PeakMeasure::Sample);
  const auto channels = static_cast<std::size_t>(treated.Channels());
  for (std::span<float> block = treated.Next(); !block.empty(); block = treated.Next()) {
    StopIfCancelled(cancel);
    meter.Add(block.data(), block.size() / channels);
    progress.At(sound->FractionRead());
  }
  return meter.IntegratedLufs();
}

// Raises the gain of a limited sound until it measures at `aimLufs`.
void Calibrate(double aimLufs, const SoundOpener& open, const std::atomic<bool>* cancel,
               IntakeProgress& progress, LevelPlan& plan) {
  double lastGain = 0;
  double lastLufs = 0;
  for (int pass = 0; pass < kMostCalibrations; ++pass) {
    progress.Begin(kCalibrationShare);
    const std::optional<double> lufs = MeasureTreated(plan.Sound, open, cancel, progress);
    if (!lufs) return;
    plan.ExpectedLufs = *lufs;
    const double miss = aimLufs - *lufs;
    if (std::abs(miss) <= kCalibratedWithinLu) return;
    // A step of gain moves a limited sound's loudness by less than the step: by about two
    // thirds of it at first, then by as much as the last two passes tell.
    const double gain = plan.Sound.GainDb;
    double slope = kFirstSlope;
    if (pass > 0 && gain != lastGain) {
      slope = std::clamp((*lufs - lastLufs) / (gain - lastGain), 0.1, 1.0);
    }
    lastGain = gain;
    lastLufs = *lufs;
    plan.Sound.GainDb += std::clamp(miss / slope, -kLargestGainStepDb, kLargestGainStepDb);
  }
}

}  // namespace

SoundLoudness MeasureSound(PreparedSound& sound, PeakMeasure peak, const std::atomic<bool>* cancel,
                           IntakeProgress& progress) {
  LoudnessMeter meter(PreparedSound::kRate, sound.Channels(), peak);
  const auto channels = static_cast<std::size_t>(sound.Channels());
  for (std::span<float> block = sound.Next(); !block.empty(); block = sound.Next()) {
    StopIfCancelled(cancel);
    meter.Add(block.data(), block.size() / channels);
    progress.At(sound.FractionRead());
  }
  return {meter.IntegratedLufs(), meter.PeakDb(), peak, sound.FramesGiven()};
}

bool IsAtTheLevel(const SoundLoudness& measured) {
  return measured.Lufs && std::abs(*measured.Lufs - kTargetLoudnessLufs) <= kLoudnessToleranceLu &&
         measured.Peak == PeakMeasure::True &&
         (!measured.PeakDb || *measured.PeakDb <= kPeakAcceptedDbtp);
}

LevelPlan PlanLevelling(const SoundLoudness& measured, const SoundOpener& open,
                        const std::atomic<bool>* cancel, IntakeProgress& progress) {
  LevelPlan plan;
  plan.Sound.GainDb = kTargetLoudnessLufs - measured.Lufs.value_or(kTargetLoudnessLufs);
  plan.ExpectedLufs = kTargetLoudnessLufs;
  const double unlimited =
      measured.Peak == PeakMeasure::True ? kUnlimitedTruePeakDbtp : kUnlimitedSamplePeakDbfs;
  if (measured.PeakDb && *measured.PeakDb + plan.Sound.GainDb > unlimited) {
    plan.Sound.LimitDbtp = kLimiterCeilingDbtp;
    Calibrate(kTargetLoudnessLufs, open, cancel, progress, plan);
  }
  return plan;
}

bool IsOnTheMark(const EncodedLoudness& written) {
  return written.Lufs && std::abs(*written.Lufs - kTargetLoudnessLufs) <= kLoudnessToleranceLu &&
         (!written.TruePeakDbtp || *written.TruePeakDbtp <= kPeakAcceptedDbtp);
}

void CorrectPlan(const EncodedLoudness& written, const SoundOpener& open,
                 const std::atomic<bool>* cancel, IntakeProgress& progress, LevelPlan& plan) {
  if (!written.Lufs) return;
  // What encoding changed in the loudness, made good before it.
  const double aimLufs = kTargetLoudnessLufs - (*written.Lufs - plan.ExpectedLufs);
  if (written.TruePeakDbtp && *written.TruePeakDbtp > kPeakAcceptedDbtp) {
    const double over = *written.TruePeakDbtp - kPeakAcceptedDbtp + kCeilingMarginDb;
    plan.Sound.LimitDbtp =
        plan.Sound.LimitDbtp ? *plan.Sound.LimitDbtp - over : kLimiterCeilingDbtp;
  }
  if (plan.Sound.LimitDbtp) {
    Calibrate(aimLufs, open, cancel, progress, plan);
  } else {
    plan.Sound.GainDb += aimLufs - plan.ExpectedLufs;
    plan.ExpectedLufs = aimLufs;
  }
}

}  // namespace pwx
