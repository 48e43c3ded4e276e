#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pwx {

// The preference that keeps the project folders opened last, one a line, the newest first.
inline constexpr const char* kRecentProjectsPreference = "recent/projects";
inline constexpr std::size_t kRecentProjectsKept = 8;

// A project folder opened before, and whether it is still there.
struct RecentProject {
  std::string Folder;
  bool Found = false;
  bool operator==(const RecentProject&) const = default;
};

// The folders the preference's text names, the newest first; empty lines are skipped, and
// only the first eight are kept.
std::vector<std::string> ParseRecentProjects(const std::string& text);
std::string FormatRecentProjects(const std::vector<std::string>& folders);

// The list with `folder` opened now: first, each folder once (with or without its final
// separator), eight at most.
std::vector<std::string> WithRecentProject(const std::vector<std::string>& folders,
                                           const std::string& folder);

}  // namespace pwx
