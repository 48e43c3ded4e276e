#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace pwx {

// Holds the true peak of a stream of interleaved float samples (one or two channels) under a
// ceiling with FFmpeg's look-ahead limiter (libavfilter's alimiter). The limiter works on the
// sound oversampled four times, so that the peaks between samples are caught as well; gain
// is taken down ahead of a peak and given back after it, and the rest of the sound passes
// unchanged. The output is aligned with the input and, once finished, as long as it.
class TruePeakLimiter {
 public:
  // How the limiter finds peaks: between the samples as well (four times oversampled), or at
  // the samples only, which costs a small part of it and takes nearly the same loudness from
  // the sound: good for an estimate of what limiting will take.
  enum class Peaks { BetweenSamples, AtSamples };

  TruePeakLimiter(long rate, int channels, double ceilingDbtp, Peaks peaks = Peaks::BetweenSamples);
  ~TruePeakLimiter();
  TruePeakLimiter(const TruePeakLimiter&) = delete;
  TruePeakLimiter& operator=(const TruePeakLimiter&) = delete;

  // Limits `frames` frames, appending what is ready to `output`.
  void Process(const float* samples, std::size_t frames, std::vector<float>& output);
  // Appends what the limiter still holds once the input has ended.
  void Finish(std::vector<float>& output);

  // How far the limiter brought the highest sample peak down, in dB: 0 when nothing reached
  // the ceiling.
  double PeakReductionDb() const;

 private:
  void Drain(std::vector<float>& output);

  struct Graph;
  std::unique_ptr<Graph> graph_;
};

}  // namespace pwx
