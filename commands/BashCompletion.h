#pragma once

#include <string>
#include <string_view>

namespace pwx {

// The bash completion of pwx36-editor, made from the command tables: the commands (and
// folders, which the window opens) as the first word, each command's options, the folders
// and files its arguments and options name.
std::string BashCompletion();

// The case pattern of a command's arm in the completion: its name, quoted when it is two
// words ("site check").
std::string ArmPattern(std::string_view commandName);

}  // namespace pwx
