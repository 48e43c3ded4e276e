#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "commands/CommandTable.h"

namespace pwx {

// The program as a whole, for its help and its manual page.
struct ProgramDefinition {
  std::string_view Name;     // "pwx36-editor"
  std::string_view Version;  // "1.0.0"
  std::string_view Summary;  // the manual page's NAME line
  std::string_view Description;
  std::string_view Window;                // what starting it without a command does
  std::vector<OptionDefinition> Options;  // those taken without a command
  std::string_view Signals;               // how every command stops on a signal
  std::vector<ExitDefinition> ExitStatuses;
  // The files the program reads or keeps besides a project folder's: name, what it is.
  std::vector<std::pair<std::string_view, std::string_view>> Files;
};

const ProgramDefinition& Program();

// Every command, in the order the help lists them.
const std::vector<const CommandDefinition*>& Commands();

// The command of that name, or nothing.
const CommandDefinition* FindCommand(std::string_view name);

}  // namespace pwx
