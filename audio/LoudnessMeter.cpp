#include "audio/LoudnessMeter.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>

#include "common/EditorError.h"

namespace pwx {

struct LoudnessMeter::State {
  ebur128_state* meter = nullptr;
  unsigned channels = 0;
  PeakMeasure peak = PeakMeasure::True;
};

LoudnessMeter::LoudnessMeter(long rate, int channels, PeakMeasure peak)
    : state_(std::make_unique<State>()) {
  state_->channels = static_cast<unsigned>(channels);
  state_->peak = peak;
  const int mode = EBUR128_MODE_I |
                   (peak == PeakMeasure::True ? EBUR128_MODE_TRUE_PEAK : EBUR128_MODE_SAMPLE_PEAK);
  state_->meter = ebur128_init(state_->channels, static_cast<unsigned long>(rate), mode);
  if (!state_->meter) throw EditorError("The loudness meter cannot start.");
}

LoudnessMeter::~LoudnessMeter() {
  ebur128_destroy(&state_->meter);
}

void LoudnessMeter::Add(const float* samples, std::size_t frames) {
  if (frames > 0) ebur128_add_frames_float(state_->meter, samples, frames);
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
  const auto peakOf = state_->peak == PeakMeasure::True ? ebur128_true_peak : ebur128_sample_peak;
  double highest = 0;
  for (unsigned channel = 0; channel < state_->channels; ++channel) {
    double peak = 0;
    if (peakOf(state_->meter, channel, &peak) == EBUR128_SUCCESS) highest = std::max(highest, peak);
  }
  if (!(highest > 0) || !std::isfinite(highest)) return std::nullopt;
  return 20 * std::log10(highest);
}

}  // namespace pwx
