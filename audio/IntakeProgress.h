#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "common/Progress.h"

namespace pwx {

// Progress of an intake in stages, reported as one step of shares: each stage takes a share
// of what is left, so the share done never goes back, even when a stage is done again.
// Reports only steps of half a percent.
class IntakeProgress {
 public:
  IntakeProgress(const WorkControl& control, std::string text)
      : control_(control), text_(std::move(text)) {}

  void Begin(double share) {
    start_ = last_;
    width_ = (1 - last_) * share;
  }
  void At(double fraction) {
    const double value = start_ + width_ * std::clamp(fraction, 0.0, 1.0);
    if (control_.Progress && value >= last_ + 0.005) {
      last_ = value;
      control_.Report(static_cast<std::uint64_t>(value * kUnits), kUnits, text_);
    }
  }
  void Done() { control_.Report(kUnits, kUnits, text_); }

 private:
  static constexpr std::uint64_t kUnits = 1000;

  const WorkControl& control_;
  std::string text_;
  double start_ = 0;
  double width_ = 0;
  double last_ = 0;
};

}  // namespace pwx
