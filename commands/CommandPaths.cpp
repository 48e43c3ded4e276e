#include "commands/CommandPaths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/FileSystem.h"

namespace pwx {

namespace {

std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Where the user's cached files go, as the desktop's conventions have it.
std::string UserCacheFolder() {
#ifdef _WIN32
  const std::string local = Environment("LOCALAPPDATA");
  return local.empty() ? "" : local + "\\pwx36-editor\\cache";
#elif defined(__APPLE__)
  const std::string home = Environment("HOME");
  return home.empty() ? "" : home + "/Library/Caches/pwx36-editor";
#else
  const std::string cache = Environment("XDG_CACHE_HOME");
  if (!cache.empty() && cache.front() == '/') return cache + "/pwx36-editor";
  const std::string home = Environment("HOME");
  return home.empty() ? "" : home + "/.cache/pwx36-editor";
#endif
}

}  // namespace

std::string CurrentFolder() {
  std::error_code error;
  return Utf8Of(std::filesystem::current_path(error).make_preferred());
}

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(PathOf(path), error);
  if (error) return path;
  absolute = absolute.lexically_normal();
  // "/a/b/" names the folder b: without its final separator, as a file's path is written.
  if (absolute.filename().empty() && absolute.has_relative_path()) {
    absolute = absolute.parent_path();
  }
  return Utf8Of(absolute.make_preferred());
}

std::string HashStorePath() {
  const std::string folder = UserCacheFolder();
  if (folder.empty()) return {};
  std::error_code error;
  std::filesystem::create_directories(PathOf(folder), error);
  if (!FolderExists(folder)) return {};
  return folder + kPathSeparator + "file-hashes";
}

}  // namespace pwx
