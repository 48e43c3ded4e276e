#include "audio/ChannelDownmix.h"

#include <algorithm>
#include <numeric>

namespace pwx {

namespace {

constexpr float kMinus3dB = 0.70710678f;
constexpr float kMinus6dB = 0.5f;

struct Weights {
  float left;
  float right;
};

Weights WeightsOf(SpeakerPlace place) {
  switch (place) {
    case SpeakerPlace::FrontLeft:
      return {1, 0};
    case SpeakerPlace::FrontRight:
      return {0, 1};
    case SpeakerPlace::FrontCentre:
      return {kMinus3dB, kMinus3dB};
    case SpeakerPlace::LowFrequency:
      return {0, 0};
    case SpeakerPlace::SurroundLeft:
      return {kMinus3dB, 0};
    case SpeakerPlace::SurroundRight:
      return {0, kMinus3dB};
    case SpeakerPlace::BackCentre:
    case SpeakerPlace::Other:
      return {kMinus6dB, kMinus6dB};
  }
  return {0, 0};
}

}  // namespace

std::vector<SpeakerPlace> UsualPlaces(int channels) {
  using P = SpeakerPlace;
  switch (channels) {
    case 1:
      return {P::FrontCentre};
    case 2:
      return {P::FrontLeft, P::FrontRight};
    case 3:
      return {P::FrontLeft, P::FrontRight, P::FrontCentre};
    case 4:
      return {P::FrontLeft, P::FrontRight, P::SurroundLeft, P::SurroundRight};
    case 5:
      return {P::FrontLeft, P::FrontRight, P::FrontCentre, P::SurroundLeft, P::SurroundRight};
    case 6:
      return {P::FrontLeft,    P::FrontRight,   P::FrontCentre,
              P::LowFrequency, P::SurroundLeft, P::SurroundRight};
    case 7:
      return {P::FrontLeft,  P::FrontRight,   P::FrontCentre,  P::LowFrequency,
              P::BackCentre, P::SurroundLeft, P::SurroundRight};
    default:
      break;
  }
  if (channels < 1) return {};
  std::vector<SpeakerPlace> places = {P::FrontLeft,    P::FrontRight,   P::FrontCentre,
                                      P::LowFrequency, P::SurroundLeft, P::SurroundRight,
                                      P::SurroundLeft, P::SurroundRight};
  places.resize(static_cast<std::size_t>(channels), P::Other);
  return places;
}

StereoDownmix::StereoDownmix(const std::vector<SpeakerPlace>& places) {
  for (const SpeakerPlace place : places) {
    const Weights weights = WeightsOf(place);
    left_.push_back(weights.left);
    right_.push_back(weights.right);
  }
  // Scaled so that the busier side sums to at most one.
  const float largest = std::max(std::accumulate(left_.begin(), left_.end(), 0.0f),
                                 std::accumulate(right_.begin(), right_.end(), 0.0f));
  if (largest > 1) {
    for (float& weight : left_) weight /= largest;
    for (float& weight : right_) weight /= largest;
  }
}

void StereoDownmix::Mix(const float* input, std::size_t frames, float* stereo) const {
  const std::size_t channels = left_.size();
  for (std::size_t frame = 0; frame < frames; ++frame) {
    const float* in = input + frame * channels;
    float left = 0;
    float right = 0;
    for (std::size_t channel = 0; channel < channels; ++channel) {
      left += left_[channel] * in[channel];
      right += right_[channel] * in[channel];
    }
    stereo[2 * frame] = left;
    stereo[2 * frame + 1] = right;
  }
}

}  // namespace pwx
