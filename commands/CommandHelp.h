#pragma once

#include <string>
#include <string_view>

#include "commands/CommandTable.h"

namespace pwx {

// "pwx36-editor report -o FILE [OPTIONS] FOLDER": how the command is called.
std::string Synopsis(const CommandDefinition& command);

// "-o, --output FILE" or "--json": an option as the help and the manual page name it.
std::string OptionLabel(const OptionDefinition& option);

// The help of the program: how it is called, its commands, its own options, its exit
// statuses; in lines of at most 80 characters.
std::string ProgramHelp();

// The help of one command: its synopsis, description, arguments, options and exit statuses.
std::string CommandHelp(const CommandDefinition& command);

// The program's help, then every command's.
std::string AllHelp();

// `text` broken into lines of at most `width` characters, each line after the first
// indented by `indent` spaces (a word longer than a line stands alone). Ends with a line
// break.
std::string Wrapped(std::string_view text, std::size_t indent, std::size_t width);

}  // namespace pwx
