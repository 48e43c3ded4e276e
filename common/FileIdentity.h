#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pwx {

// What makes a file-system object itself, whatever path leads to it: a bind mount, a link
// or another spelling of a folder reaches the same device and inode.
struct FileIdentity {
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of what stands at `path` (a link counts as what it leads to), or nothing
// when nothing does.
std::optional<FileIdentity> IdentityOf(const std::string& path);

// Whether `path` is the folder `folder` itself or lies anywhere inside it, judged by the
// identity of `path` and of each folder above it, never by spelling. A path that does not
// exist yet counts by the nearest folder above it that does. A folder that does not exist
// holds nothing.
bool IsSameOrInside(const std::string& path, const std::string& folder);

}  // namespace pwx
