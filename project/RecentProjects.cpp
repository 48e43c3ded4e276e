#include "project/RecentProjects.h"

#include <algorithm>
#include <sstream>

#include "common/FileSystem.h"

namespace pwx {

std::vector<std::string> ParseRecentProjects(const std::string& text) {
  std::vector<std::string> folders;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line) && folders.size() < kRecentProjectsKept) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) folders.push_back(line);
  }
  return folders;
}

std::string FormatRecentProjects(const std::vector<std::string>& folders) {
  std::string text;
  for (const std::string& folder : folders) text += folder + "\n";
  return text;
}

std::vector<std::string> WithRecentProject(const std::vector<std::string>& folders,
                                           const std::string& folder) {
  if (folder.empty() || HasLineBreak(folder)) return folders;
  const std::string opened = WithSeparator(folder);
  std::vector<std::string> list{opened};
  for (const std::string& earlier : folders) {
    if (list.size() == kRecentProjectsKept) break;
    if (WithSeparator(earlier) != opened) list.push_back(earlier);
  }
  return list;
}

}  // namespace pwx
