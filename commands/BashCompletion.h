#pragma once

#include <string>

namespace pwx {

// The bash completion of pwx36-editor, made from the command tables: the commands (and
// folders, which the window opens) as the first word, each command's options, the folders
// and files its arguments and options name.
std::string BashCompletion();

}  // namespace pwx
