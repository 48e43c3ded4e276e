#pragma once

namespace pwx {

// How a command-line run ends, as the program's exit status.
enum class CommandExit : int {
  Success = 0,    // a check without errors, a verified card, a card equal to the project
  Failed = 1,     // errors found, a copy that failed, a card that differs
  CannotRun = 2,  // wrong arguments, or a folder that cannot be read
  // Stopped early by Ctrl+C, SIGTERM or SIGHUP, after saying what it left: the program then
  // ends as that signal ends it, which the shell shows as 128 + its number (130 for Ctrl+C).
  Interrupted = 130,
};

}  // namespace pwx
