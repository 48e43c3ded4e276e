#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "common/MessageText.h"

namespace pwx {

// Shows how far a command's work is: on a terminal one line rewritten in place, else a line
// each time the work turns to another step, at once (a log that is followed sees it). The
// line is cleared at the end. Names in it are shown as TerminalText shows them.
class ProgressPrinter {
 public:
  ProgressPrinter(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}
  ~ProgressPrinter() { Clear(); }
  ProgressPrinter(const ProgressPrinter&) = delete;
  ProgressPrinter& operator=(const ProgressPrinter&) = delete;

  // "what: 42%" on a terminal; `what` on a line of its own elsewhere, once.
  void Show(const std::string& what, std::uint64_t done, std::uint64_t total) {
    if (!terminal_) {
      if (what != last_) out_ << TerminalText(what) << "\n" << std::flush;
      last_ = what;
      return;
    }
    const int percent = total == 0 ? 100 : static_cast<int>(done * 100 / total);
    Rewrite(what + ": " + std::to_string(percent) + "%");
  }

  // On a terminal, `line` in place of the last one; nothing elsewhere.
  void Rewrite(std::string line) {
    if (!terminal_) return;
    line = TerminalText(line);
    if (line.size() < width_) line += std::string(width_ - line.size(), ' ');
    width_ = line.size();
    out_ << '\r' << line << std::flush;
  }

  void Clear() {
    if (terminal_ && width_ > 0) out_ << '\r' << std::string(width_, ' ') << '\r' << std::flush;
    width_ = 0;
  }

 private:
  std::ostream& out_;
  bool terminal_;
  std::string last_;
  std::size_t width_ = 0;
};

}  // namespace pwx
