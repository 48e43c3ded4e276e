#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "audio/EncodedLoudness.h"
#include "audio/IntakeProgress.h"
#include "audio/LoudnessMeter.h"
#include "audio/PreparedSound.h"

// How the intake brings a clip to the target loudness: a gain from the source's measure, a
// true-peak limiter when that gain takes peaks near the ceiling, the gain corrected for what
// the limiter takes away, and a check of the MP3 as written.
namespace pwx {

// The loudness and peak of a sound as the player gets it, before any gain.
struct SoundLoudness {
  std::optional<double> Lufs;
  std::optional<double> PeakDb;
  PeakMeasure Peak = PeakMeasure::True;
  std::uint64_t Frames = 0;  // at the player's rate
};

// The treatment that levelling settles on, with the loudness the treated sound measures
// before it is encoded.
struct LevelPlan {
  Treatment Sound;
  double ExpectedLufs = 0;
};

// Raised by a pass over the sound that finds the work cancelled.
struct IntakeCancelled {};

// Opens the source again, prepared, for one more pass over it.
using SoundOpener = std::function<std::unique_ptr<PreparedSound>()>;

// Measures a sound. Raises IntakeCancelled.
SoundLoudness MeasureSound(PreparedSound& sound, PeakMeasure peak, const std::atomic<bool>* cancel,
                           IntakeProgress& progress);

// Whether a sound so measured is at the target already, its peak well under the ceiling.
bool IsAtTheLevel(const SoundLoudness& measured);

// The plan for a measured sound (which has a loudness): the gain to the target and, when that
// gain takes its peaks near the ceiling, the limiter, with the gain raised by a pass or more
// over the limited sound until that measures at the target. Raises IntakeCancelled.
LevelPlan PlanLevelling(const SoundLoudness& measured, const SoundOpener& open,
                        const std::atomic<bool>* cancel, IntakeProgress& progress);

// Whether an MP3 written after the plan is at the target with its true peak under the
// ceiling.
bool IsOnTheMark(const EncodedLoudness& written);

// Changes a plan whose MP3 missed the mark: a lower ceiling (or a limiter) for a peak over
// it, a gain for the loudness, with passes over the limited sound as needed. Raises
// IntakeCancelled.
void CorrectPlan(const EncodedLoudness& written, const SoundOpener& open,
                 const std::atomic<bool>* cancel, IntakeProgress& progress, LevelPlan& plan);

}  // namespace pwx
