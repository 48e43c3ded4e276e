#pragma once

#include <cstddef>
#include <memory>
#include <optional>

namespace pwx {

// How a meter finds the peak: the highest sample is cheap; the true peak (the highest sample
// of the sound oversampled four times, so that peaks between samples count) costs about half
// as much again as the loudness alone.
enum class PeakMeasure { Sample, True };

// Measures the integrated loudness (gated, in LUFS) of a stream of interleaved float samples
// with libebur128, block by block, and its peak; the true peak oversamples with the editor's
// resampler (libsoxr), which interpolates more closely than libebur128's own filter at a
// fraction of its cost.
class LoudnessMeter {
 public:
  LoudnessMeter(long rate, int channels, PeakMeasure peak = PeakMeasure::True);
  ~LoudnessMeter();
  LoudnessMeter(const LoudnessMeter&) = delete;
  LoudnessMeter& operator=(const LoudnessMeter&) = delete;

  void Add(const float* samples, std::size_t frames);

  // None while the sound is silent or shorter than one 400 ms gating block.
  std::optional<double> IntegratedLufs() const;
  // The highest peak of any channel, in dB of full scale (dBTP for the true peak); none while
  // the sound is silent. Call it once all the sound is added.
  std::optional<double> PeakDb() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace pwx
