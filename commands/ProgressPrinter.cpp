#include "commands/ProgressPrinter.h"

#include "common/MessageText.h"

namespace pwx {

void ProgressPrinter::Show(const ProgressStep& step) {
  const std::lock_guard lock(mutex_);
  if (mode_ == Mode::Quiet) return;
  // A step of items names its count ("Decoding the clips: 3 of 10"); one of shares is
  // followed by its percentage where it is rewritten in place.
  const std::string text = ProgressText(step);
  if (mode_ == Mode::Lines) {
    if (text != last_) out_ << TerminalText(text) << "\n" << std::flush;
    last_ = text;
    return;
  }
  std::string line = TerminalText(text);
  if (step.Unit == ProgressUnit::Share && step.Total > 0) {
    line += ": " + std::to_string(ProgressPercent(step)) + "%";
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
