#pragma once

#include <cstddef>
#include <mutex>
#include <ostream>
#include <string>

#include "common/Progress.h"

namespace pwx {

// Shows how far a command's work is, on standard error: on a terminal one line rewritten in
// place ("Writing 003.mp3: 42%"), cleared at the end; elsewhere the step's text on a line of
// its own each time the work turns to another step, at once (a log that is followed sees
// it); nothing at all when quiet. Texts are shown as TerminalText shows them. Steps may come
// from any thread.
class ProgressPrinter {
 public:
  enum class Mode { Quiet, Lines, InPlace };

  // Quiet when asked, in place on a terminal, else lines.
  static Mode ModeFor(bool quiet, bool terminal) {
    return quiet ? Mode::Quiet : terminal ? Mode::InPlace : Mode::Lines;
  }

  ProgressPrinter(std::ostream& out, Mode mode) : out_(out), mode_(mode) {}
  ~ProgressPrinter() { Clear(); }
  ProgressPrinter(const ProgressPrinter&) = delete;
  ProgressPrinter& operator=(const ProgressPrinter&) = delete;

  void Show(const ProgressStep& step);

  // Where the work says how far it is: this printer, which must outlive the work.
  ProgressCallback Callback() {
    return [this](const ProgressStep& step) { Show(step); };
  }

  // Takes the line in place away, so that what follows starts on a clean line.
  void Clear();

 private:
  std::ostream& out_;
  const Mode mode_;
  std::mutex mutex_;
  std::string last_;       // the text of the last step shown
  std::size_t width_ = 0;  // of the line in place
};

}  // namespace pwx
