#pragma once

#include <string>

namespace pwx {

// The folder the program runs in, as UTF-8 with the platform's separators.
std::string CurrentFolder();

// `path` made absolute against the current folder, without "." and ".." steps and double
// separators; links are kept as they are.
std::string AbsolutePath(const std::string& path);

// The file of the hashes remembered between copies, in the user's cache folder
// (~/.cache/pwx36-editor/file-hashes, or where XDG_CACHE_HOME points), the folder made when
// missing; empty when there is no such folder to be had.
std::string HashStorePath();

}  // namespace pwx
