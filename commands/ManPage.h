#pragma once

#include <string>
#include <string_view>

namespace pwx {

// The manual page pwx36-editor(1) in roff, made from the tables of the program and its
// commands: every command with its synopsis, description, arguments, options and exit
// statuses. `date` is the release's, "2026-12-08".
std::string ManPage(std::string_view date);

// `text` as roff takes it in running text: backslashes and hyphens escaped, and a line that
// would start with a control character made plain.
std::string RoffText(std::string_view text);

}  // namespace pwx
