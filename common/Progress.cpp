#include "common/Progress.h"

#include <algorithm>
#include <limits>

namespace pwx {

namespace {

// The units of a part when a job is cut into parts: fine enough for a bar of any width.
constexpr std::uint64_t kPartUnits = 10000;

}  // namespace

std::uint64_t ProgressIn(const ProgressStep& step, std::uint64_t units) {
  if (step.Total == 0) return 0;
  std::uint64_t done = std::min(step.Done, step.Total);
  std::uint64_t total = step.Total;
  // Counts near the top of the range are scaled down first, so that done * units fits.
  const std::uint64_t largest =
      std::numeric_limits<std::uint64_t>::max() / std::max<std::uint64_t>(units, 1);
  if (total > largest) {
    const std::uint64_t scale = total / largest + 1;
    done /= scale;
    total /= scale;
  }
  return done * units / total;
}

std::string ProgressText(const ProgressStep& step) {
  if (step.Unit != ProgressUnit::Items) return step.Text;
  return step.Text + ": " + std::to_string(step.Done) + " of " + std::to_string(step.Total);
}

int ProgressPercent(const ProgressStep& step) {
  return static_cast<int>(ProgressIn(step, 100));
}

WorkControl PartOf(const WorkControl& whole, std::size_t part, std::size_t parts) {
  WorkControl control;
  control.Cancel = whole.Cancel;
  if (!whole.Progress || parts == 0) return control;
  control.Progress = [progress = whole.Progress, part, parts](const ProgressStep& step) {
    progress({part * kPartUnits + ProgressIn(step, kPartUnits), parts * kPartUnits, step.Text,
              ProgressUnit::Share});
  };
  return control;
}

}  // namespace pwx
