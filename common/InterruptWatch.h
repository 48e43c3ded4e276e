#pragma once

#include <atomic>
#include <string>

namespace pwx {

// Ctrl+C, SIGTERM and SIGHUP turned into the cancel flag that long work reads, for the
// command line. While a watch lives, the first of these signals only sets the flag and notes
// which signal came: the work stops at its next safe point and the command says what it
// left. A second one ends the process at once, after removing the temporaries that file
// replacements still hold open. One watch at a time.
class InterruptWatch {
 public:
  InterruptWatch();   // installs the handlers
  ~InterruptWatch();  // puts the handlers back as they were
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  // Set by the first signal; pass it to the work as its cancel flag.
  const std::atomic<bool>& Cancel() const;
  // The signal that set the flag, 0 while none came.
  int Signal() const;

  // Ends the process as the signal that came would have ended it, so that the shell sees
  // 128 + its number and a script that runs the command stops too.
  [[noreturn]] void EndAsInterrupted() const;
};

// "SIGINT", "SIGTERM", "SIGHUP", or "signal N".
std::string SignalName(int signal);

}  // namespace pwx
