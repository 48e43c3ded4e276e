#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace pwx {

// Changes the sample rate of a stream of interleaved float samples with libsoxr at high
// quality (its 20-bit setting), block by block; memory stays the same whatever the length.
// The output is aligned with the input: the resampler's own delay is left out.
class Resampler {
 public:
  Resampler(double inputRate, double outputRate, int channels);
  ~Resampler();
  Resampler(const Resampler&) = delete;
  Resampler& operator=(const Resampler&) = delete;

  // Resamples `frames` frames, appending what is ready to `output`.
  void Process(const float* input, std::size_t frames, std::vector<float>& output);
  // Appends what the resampler still holds once the input has ended.
  void Finish(std::vector<float>& output);

 private:
  void Run(const float* input, std::size_t frames, std::vector<float>& output);

  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace pwx
