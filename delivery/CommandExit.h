#pragma once

namespace pwx {

// How a command-line run ends, as the program's exit status.
enum class CommandExit : int {
  Success = 0,    // a check without errors, a verified card, a card equal to the project
  Failed = 1,     // errors found, a copy that failed, a card that differs
  CannotRun = 2,  // wrong arguments, or a folder that cannot be read
};

}  // namespace pwx
