#include "common/PathText.h"

#include <vector>

namespace pwx {

namespace {

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

}  // namespace

std::string FolderName(const std::string& folder) {
  std::size_t end = folder.size();
  while (end > 0 && IsSeparator(folder[end - 1])) --end;
  std::size_t start = end;
  while (start > 0 && !IsSeparator(folder[start - 1])) --start;
  return folder.substr(start, end - start);
}

std::string ElidePath(const std::string& path,
                      const std::function<bool(const std::string&)>& fits) {
  if (fits(path)) return path;
  // The head: everything up to the separator after the first name ("/srv/", "C:\").
  std::size_t head = 0;
  while (head < path.size() && IsSeparator(path[head])) ++head;
  while (head < path.size() && !IsSeparator(path[head])) ++head;
  if (head < path.size()) ++head;
  // The names after the head, each with the separator that follows it.
  std::vector<std::string> names;
  for (std::size_t at = head; at < path.size();) {
    std::size_t end = at;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    if (end < path.size()) ++end;
    names.push_back(path.substr(at, end - at));
    at = end;
  }
  const char separator = head > 0 && IsSeparator(path[head - 1]) ? path[head - 1] : '/';
  const std::string ellipsis = std::string("\u2026") + separator;
  const auto tail = [&names](std::size_t kept) {
    std::string text;
    for (std::size_t i = names.size() - kept; i < names.size(); ++i) text += names[i];
    return text;
  };
  if (names.empty()) return path;
  for (std::size_t kept = names.size() - 1; kept >= 1; --kept) {
    const std::string candidate = path.substr(0, head) + ellipsis + tail(kept);
    if (fits(candidate)) return candidate;
  }
  return ellipsis + tail(1);
}

}  // namespace pwx
