#include "common/FileSystem.h"

#include <cerrno>
#include <system_error>

#include "common/EditorError.h"
#include "common/MessageText.h"

namespace pwx {
namespace fs = std::filesystem;

fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string SystemReason(int errorNumber) {
  return std::generic_category().message(errorNumber);
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(PathOf(path), ec);
}

bool FolderExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(PathOf(path), ec);
}

bool EntryExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(fs::status(PathOf(path), ec));
}

bool PathExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(fs::symlink_status(PathOf(path), ec));
}

std::string FileNameOf(std::string_view path) {
  const auto separator = path.find_last_of("/\\");
  return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

bool EndsWithSeparator(std::string_view folder) {
  if (folder.empty()) return false;
#ifdef _WIN32
  return folder.back() == '\\' || folder.back() == '/';
#else
  return folder.back() == kPathSeparator;
#endif
}

std::string WithSeparator(const std::string& folder) {
  return EndsWithSeparator(folder) ? folder : folder + kPathSeparator;
}

bool CreateFolder(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::create_directory(PathOf(path), ec);
  return !ec && FolderExists(path);
}

void CreateFolderWithParents(const std::string& path) {
  std::error_code ec;
  fs::create_directories(PathOf(path), ec);
  if (!FolderExists(path)) {
    throw EditorError("Cannot create folder \"" + QuotePath(path) + "\". " +
                      (ec ? ec.message() : SystemReason(ENOTDIR)));
  }
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

void DeleteFile(const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(PathOf(path), ec))) {
    throw EditorError("Cannot delete file \"" + QuotePath(path) + "\". " + SystemReason(EISDIR));
  }
  fs::remove(PathOf(path), ec);
  if (ec) throw EditorError("Cannot delete file \"" + QuotePath(path) + "\". " + ec.message());
}

}  // namespace pwx
