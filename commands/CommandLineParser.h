#pragma once

#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "commands/CommandTable.h"

namespace pwx {

// Run this command with what its table made of the words.
struct RunCommand {
  const CommandDefinition* Command = nullptr;
  CommandInput Input;
};

// Print this on standard output and end with status 0: a help or the version.
struct ShowText {
  std::string Text;
};

// Print this one line on standard error and end with status 2: the words do not fit.
struct UsageError {
  std::string Message;
};

// Start the window with these words.
struct OpenWindow {
  std::vector<std::string> Arguments;
};

using ParsedCommandLine = std::variant<RunCommand, ShowText, UsageError, OpenWindow>;

// Whether a word names something the window opens: a project folder, or its plist.cfg.
using WindowTarget = std::function<bool(const std::string& word)>;

// Reads the program's arguments (without the program's own name) against the tables of
// the commands: "COMMAND [OPTIONS] ARGUMENTS" (options may also stand before the command),
// "help [COMMAND]", "--help", "--help-all", "--version", or what starts the window: nothing,
// --from-desktop, or one word that `opensWindow` accepts. Options are "--name", "--name
// VALUE", "--name=VALUE", "-n", "-n VALUE", "-nVALUE" and short switches run together
// ("-qh"); "--" ends them and "-" is an argument.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& words,
                                   const WindowTarget& opensWindow);

// Whether a word names a project folder or a play list, as the window opens it.
bool IsFolderOrPlayList(const std::string& word);

}  // namespace pwx
