#include "common/FileIdentity.h"

#include <filesystem>
#include <system_error>

#include "common/FileSystem.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace pwx {

namespace fs = std::filesystem;

std::optional<FileIdentity> IdentityOf(const std::string& path) {
#ifdef _WIN32
  // Windows has no inode in its stat; the file index through std::filesystem stands in.
  std::error_code error;
  const fs::path target = fs::canonical(PathOf(path), error);
  if (error) return std::nullopt;
  const auto hash = std::hash<std::string>{}(target.generic_string());
  return FileIdentity{0, static_cast<std::uint64_t>(hash)};
#else
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(status.st_dev),
                      static_cast<std::uint64_t>(status.st_ino)};
#endif
}

bool IsSameOrInside(const std::string& path, const std::string& folder) {
  const auto folderIdentity = IdentityOf(folder);
  if (!folderIdentity) return false;
  std::error_code error;
  // The absolute path, so that its parents can be walked up to the root; "..", links and
  // mounts along it are judged by what they lead to, one folder at a time.
  fs::path at = fs::absolute(PathOf(path), error);
  if (error) return false;
  for (;;) {
    if (const auto identity = IdentityOf(at.string())) {
      if (*identity == *folderIdentity) return true;
      // Up through what the path really is: a link to a folder leads into that folder.
      const fs::path real = fs::canonical(at, error);
      if (!error) at = real;
    }
    const fs::path parent = at.parent_path();
    if (parent == at || parent.empty()) return false;
    at = parent;
  }
}

}  // namespace pwx
