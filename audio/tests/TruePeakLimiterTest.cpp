// The true-peak limiter of levelling: peaks between samples held under the ceiling, the sound
// under it passed unchanged, in step with the input and as long as it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "audio/LoudnessMeter.h"
#include "audio/TruePeakLimiter.h"

namespace pwx {
namespace {

constexpr long kRate = 44100;

// Stereo: a tone at a quarter of the rate, struck 45 degrees off its samples so that its
// peaks fall between them (3 dB over its highest sample), in a burst every half second that
// fades in and out over 5 ms, over a quiet hum.
std::vector<float> Sound(double burstAmplitude, std::size_t frames) {
  constexpr double kFade = 220;
  std::vector<float> samples(2 * frames);
  for (std::size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i);
    const double inBurst = static_cast<double>(i % 22050);
    const double fade =
        inBurst < 2000 ? std::min({1.0, inBurst / kFade, (2000 - inBurst) / kFade}) : 0.0;
    const double envelope = 0.5 - 0.5 * std::cos(std::numbers::pi * fade);
    const double tone = std::sin(std::numbers::pi / 2 * t + std::numbers::pi / 4);
    const double hum = 0.05 * std::sin(2 * std::numbers::pi * 150 * t / kRate);
    const double value = hum + burstAmplitude * envelope * tone;
    samples[2 * i] = static_cast<float>(value);
    samples[2 * i + 1] = static_cast<float>(-value);
  }
  return samples;
}

std::vector<float> Limited(TruePeakLimiter& limiter, const std::vector<float>& input) {
  std::vector<float> output;
  for (std::size_t at = 0; at < input.size(); at += 2 * 1000) {
    const std::size_t frames = std::min<std::size_t>(1000, (input.size() - at) / 2);
    limiter.Process(input.data() + at, frames, output);
  }
  limiter.Finish(output);
  return output;
}

double TruePeakDbtp(const std::vector<float>& samples) {
  LoudnessMeter meter(kRate, 2, PeakMeasure::True);
  meter.Add(samples.data(), samples.size() / 2);
  return meter.PeakDb().value_or(-100);
}

TEST(TruePeakLimiter, HoldsPeaksBetweenSamplesUnderTheCeiling) {
  const std::vector<float> input = Sound(1.2, 3 * kRate);
  ASSERT_GT(TruePeakDbtp(input), 1.0);
  TruePeakLimiter limiter(kRate, 2, -2.0);
  const std::vector<float> output = Limited(limiter, input);
  ASSERT_EQ(output.size(), input.size());
  EXPECT_LE(TruePeakDbtp(output), -2.0 + 0.2);
  EXPECT_GT(limiter.PeakReductionDb(), 1.5);
  // The hum between the bursts, well after the limiter has let go, is untouched.
  for (const std::size_t frame : {std::size_t{15000}, std::size_t{40000}, std::size_t{120000}}) {
    EXPECT_NEAR(output[2 * frame], input[2 * frame], 1e-3) << frame;
    EXPECT_NEAR(output[2 * frame + 1], input[2 * frame + 1], 1e-3) << frame;
  }
}

TEST(TruePeakLimiter, PassesASoundUnderTheCeilingAsItIs) {
  const std::vector<float> input = Sound(0.3, kRate / 2 + 123);
  TruePeakLimiter limiter(kRate, 2, -2.0);
  const std::vector<float> output = Limited(limiter, input);
  ASSERT_EQ(output.size(), input.size());
  // Where the sound stops short, its last few samples come through the oversampling's filters
  // a little changed.
  double largest = 0;
  for (std::size_t i = 0; i + 2 * 32 < input.size(); ++i) {
    largest = std::max(largest, static_cast<double>(std::abs(output[i] - input[i])));
  }
  EXPECT_LT(largest, 2e-3);
  EXPECT_EQ(limiter.PeakReductionDb(), 0);
}

}  // namespace
}  // namespace pwx
