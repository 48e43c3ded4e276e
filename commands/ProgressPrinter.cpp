#include "commands/ProgressPrinter.h"

#include <limits>

#include "common/MessageText.h"

namespace pwx {

void ProgressPrinter::Show(const ProgressStep& step) {
  const std::lock_guard lock(mutex_);
  if (mode_ == Mode::Quiet) return;
  if (mode_ == Mode::Lines) {
    if (step.Text != last_) out_ << TerminalText(step.Text) << "\n" << std::flush;
    last_ = step.Text;
    return;
  }
  std::string line = TerminalText(step.Text);
  if (step.Total > 0) {
    std::uint64_t done = step.Done < step.Total ? step.Done : step.Total;
    std::uint64_t total = step.Total;
    // Counts near the top of the range are scaled down first, so that done * 100 fits.
    constexpr std::uint64_t kLargest = std::numeric_limits<std::uint64_t>::max() / 100;
    if (total > kLargest) {
      const std::uint64_t scale = total / kLargest + 1;
      done /= scale;
      total /= scale;
    }
    const std::uint64_t percent = done * 100 / total;
    line += ": " + std::to_string(percent) + "%";
  }
  const std::size_t width = line.size();
  if (width < width_) line += std::string(width_ - width, ' ');
  width_ = width;
  out_ << '\r' << line << std::flush;
}

void ProgressPrinter::Clear() {
  const std::lock_guard lock(mutex_);
  if (mode_ == Mode::InPlace && width_ > 0) {
    out_ << '\r' << std::string(width_, ' ') << '\r' << std::flush;
  }
  width_ = 0;
}

}  // namespace pwx
