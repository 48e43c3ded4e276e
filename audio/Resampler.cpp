#include "audio/Resampler.h"

#include <soxr.h>

#include <cmath>
#include <string>

#include "common/EditorError.h"

namespace pwx {

struct Resampler::State {
  soxr_t resampler = nullptr;
  double ratio = 1;
  std::size_t channels = 1;
};

Resampler::Resampler(double inputRate, double outputRate, int channels)
    : state_(std::make_unique<State>()) {
  state_->ratio = outputRate / inputRate;
  state_->channels = static_cast<std::size_t>(channels);
  const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
  soxr_error_t error = nullptr;
  state_->resampler = soxr_create(inputRate, outputRate, static_cast<unsigned>(channels), &error,
                                  &io, &quality, nullptr);
  if (!state_->resampler) {
    throw EditorError(std::string("The resampler cannot start: ") + soxr_strerror(error));
  }
}

Resampler::~Resampler() {
  soxr_delete(state_->resampler);
}

void Resampler::Process(const float* input, std::size_t frames, std::vector<float>& output) {
  if (frames > 0) Run(input, frames, output);
}

void Resampler::Finish(std::vector<float>& output) {
  Run(nullptr, 0, output);
}

// Feeds the input (none at the end) and collects output until the resampler has taken all of
// it and has nothing more to give.
void Resampler::Run(const float* input, std::size_t frames, std::vector<float>& output) {
  State& s = *state_;
  const std::size_t room =
      static_cast<std::size_t>(std::ceil(static_cast<double>(frames) * s.ratio)) + 1024;
  std::size_t taken = 0;
  for (;;) {
    const std::size_t at = output.size();
    output.resize(at + room * s.channels);
    std::size_t used = 0;
    std::size_t made = 0;
    const soxr_error_t error =
        soxr_process(s.resampler, input ? input + taken * s.channels : nullptr, frames - taken,
                     &used, output.data() + at, room, &made);
    output.resize(at + made * s.channels);
    if (error) throw EditorError(std::string("The resampler failed: ") + error);
    taken += used;
    if (taken >= frames && made < room) return;
  }
}

}  // namespace pwx
