#pragma once

#include <algorithm>
#include <functional>

namespace pwx {

// Progress of an intake in stages: each stage takes a share of what is left, so the fraction
// never goes back, even when a stage is done again. Reports only steps of half a percent.
class IntakeProgress {
 public:
  explicit IntakeProgress(const std::function<void(double)>& report) : report_(report) {}

  void Begin(double share) {
    start_ = last_;
    width_ = (1 - last_) * share;
  }
  void At(double fraction) {
    const double value = start_ + width_ * std::clamp(fraction, 0.0, 1.0);
    if (report_ && value >= last_ + 0.005) {
      last_ = value;
      report_(value);
    }
  }
  void Done() {
    if (report_) report_(1);
  }

 private:
  const std::function<void(double)>& report_;
  double start_ = 0;
  double width_ = 0;
  double last_ = 0;
};

}  // namespace pwx
