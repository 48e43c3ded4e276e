#include "audio/LoudnessMeter.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/Resampler.h"
#include "common/EditorError.h"

namespace pwx {

namespace {

// The true peak is found at four times the rate below 96 kHz, at twice it below 192 kHz.
int OversamplingOf(long rate) {
  return rate < 96000 ? 4 : rate < 192000 ? 2 : 1;
}

float HighestOf(const float* samples, std::size_t count) {
  float highest = 0;
  for (std::size_t i = 0; i < count; ++i) highest = std::max(highest, std::abs(samples[i]));
  return highest;
}

}  // namespace

struct LoudnessMeter::State {
  ebur128_state* meter = nullptr;
  unsigned channels = 0;
  PeakMeasure peak = PeakMeasure::True;
  // The true peak: the sound oversampled, and the highest sample found so far. The
  // oversampler's last samples come out when the peak is asked for.
  std::unique_ptr<Resampler> oversampler;
  std::vector<float> oversampled;
  float highest = 0;
  bool finished = false;
};

LoudnessMeter::LoudnessMeter(long rate, int channels, PeakMeasure peak)
    : state_(std::make_unique<State>()) {
  state_->channels = static_cast<unsigned>(channels);
  state_->peak = peak;
  const int mode = EBUR128_MODE_I | (peak == PeakMeasure::Sample ? EBUR128_MODE_SAMPLE_PEAK : 0);
  state_->meter = ebur128_init(state_->channels, static_cast<unsigned long>(rate), mode);
  if (!state_->meter) throw EditorError("The loudness meter cannot start.");
  if (peak == PeakMeasure::True && OversamplingOf(rate) > 1) {
    state_->oversampler = std::make_unique<Resampler>(
        static_cast<double>(rate), static_cast<double>(rate * OversamplingOf(rate)), channels);
  }
}

LoudnessMeter::~LoudnessMeter() {
  ebur128_destroy(&state_->meter);
}

void LoudnessMeter::Add(const float* samples, std::size_t frames) {
  if (frames == 0) return;
  State& s = *state_;
  ebur128_add_frames_float(s.meter, samples, frames);
  if (s.peak != PeakMeasure::True) return;
  s.highest = std::max(s.highest, HighestOf(samples, frames * s.channels));
  if (!s.oversampler) return;
  s.oversampled.clear();
  s.oversampler->Process(samples, frames, s.oversampled);
  s.highest = std::max(s.highest, HighestOf(s.oversampled.data(), s.oversampled.size()));
}

std::optional<double> LoudnessMeter::IntegratedLufs() const {
  double loudness = 0;
  if (ebur128_loudness_global(state_->meter, &loudness) != EBUR128_SUCCESS ||
      !std::isfinite(loudness)) {
    return std::nullopt;
  }
  return loudness;
}

std::optional<double> LoudnessMeter::PeakDb() const {
  State& s = *state_;
  double highest = 0;
  if (s.peak == PeakMeasure::True) {
    if (s.oversampler && !s.finished) {
      s.oversampled.clear();
      s.oversampler->Finish(s.oversampled);
      s.highest = std::max(s.highest, HighestOf(s.oversampled.data(), s.oversampled.size()));
      s.finished = true;
    }
    highest = s.highest;
  } else {
    for (unsigned channel = 0; channel < s.channels; ++channel) {
      double peak = 0;
      if (ebur128_sample_peak(s.meter, channel, &peak) == EBUR128_SUCCESS) {
        highest = std::max(highest, peak);
      }
    }
  }
  if (!(highest > 0) || !std::isfinite(highest)) return std::nullopt;
  return 20 * std::log10(highest);
}

}  // namespace pwx
