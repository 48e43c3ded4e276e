#include "common/FileHashCache.h"

#include <algorithm>
#include <chrono>
#include <sstream>

#include "common/EditorError.h"
#include "common/FileReplacement.h"
#include "common/FileSystem.h"
#include "common/TextFile.h"

namespace pwx {

namespace {

constexpr std::int64_t kCoarsestTickNs = 2'000'000'000;  // a FAT file system's
constexpr std::size_t kStoreLimitBytes = 4 * 1024 * 1024;
constexpr std::size_t kMostEntries = 8192;
// Stores of an earlier version lack the change time: they are read as empty.
constexpr const char* kStoreHeader = "pwx36-editor file hashes 2";

std::optional<Sha256Digest> DigestOf(const std::string& hex) {
  if (hex.size() != 64) return std::nullopt;
  Sha256Digest digest{};
  for (std::size_t i = 0; i < digest.size(); ++i) {
    unsigned value = 0;
    for (int half = 0; half < 2; ++half) {
      const char c = hex[2 * i + static_cast<std::size_t>(half)];
      const int nibble = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (nibble < 0) return std::nullopt;
      value = value * 16 + static_cast<unsigned>(nibble);
    }
    digest[i] = static_cast<std::uint8_t>(value);
  }
  return digest;
}

}  // namespace

std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

FileHashCache::FileHashCache(std::string storePath) : storePath_(std::move(storePath)) {
  if (storePath_.empty()) return;
  const FileRead store = ReadFile(storePath_, kStoreLimitBytes);
  if (!store.Ok() || store.Bytes.size() >= kStoreLimitBytes) return;
  const std::vector<std::string> lines = SplitLines(store.Bytes);
  if (lines.empty() || lines[0] != kStoreHeader) return;
  // "<digest> <size> <modified> <changed> <inode> <device> <path>", the path last, as it may
  // hold spaces.
  for (std::size_t i = 1; i < lines.size() && entries_.size() < kMostEntries; ++i) {
    std::istringstream line(lines[i]);
    std::string hex;
    Entry entry{};
    if (!(line >> hex >> entry.Stamp.Size >> entry.Stamp.ModifiedNs >> entry.Stamp.ChangedNs >>
          entry.Stamp.Inode >> entry.Stamp.Device) ||
        line.get() != ' ') {
      continue;
    }
    std::string path;
    std::getline(line, path);
    const auto digest = DigestOf(hex);
    if (!digest || path.empty()) continue;
    entry.Digest = *digest;
    entry.Stamp.KeepsChangeTime = true;  // only such stamps are stored
    entries_[path] = entry;
  }
}

std::optional<Sha256Digest> FileHashCache::Find(const std::string& path,
                                                const FileStamp& stamp) const {
  const auto found = entries_.find(path);
  if (found == entries_.end() || !(found->second.Stamp == stamp)) return std::nullopt;
  return found->second.Digest;
}

void FileHashCache::Remember(const std::string& path, const FileStamp& stamp,
                             const Sha256Digest& digest, std::int64_t nowNs) {
  const std::int64_t lastChange = std::max(stamp.ModifiedNs, stamp.ChangedNs);
  if (!stamp.KeepsChangeTime || nowNs - lastChange < kCoarsestTickNs) {
    Forget(path);
    return;
  }
  if (HasLineBreak(path)) return;
  const auto known = entries_.find(path);
  if (known != entries_.end() && known->second.Stamp == stamp && known->second.Digest == digest) {
    return;
  }
  if (entries_.size() >= kMostEntries && known == entries_.end()) entries_.clear();
  entries_[path] = Entry{stamp, digest};
  changed_ = true;
}

void FileHashCache::Forget(const std::string& path) {
  if (entries_.erase(path) > 0) changed_ = true;
}

void FileHashCache::Save() const {
  if (storePath_.empty() || !changed_) return;
  std::string store = std::string(kStoreHeader) + "\n";
  for (const auto& [path, entry] : entries_) {
    const FileStamp& s = entry.Stamp;
    store += HexText(entry.Digest) + " " + std::to_string(s.Size) + " " +
             std::to_string(s.ModifiedNs) + " " + std::to_string(s.ChangedNs) + " " +
             std::to_string(s.Inode) + " " + std::to_string(s.Device) + " " + path + "\n";
  }
  try {
    ReplaceFile(storePath_, store);
  } catch (const EditorError&) {
    // Only speed is lost: the next run reads the files again.
  }
}

FileHashCache::Hashed FileHashCache::Hash(const std::string& path, const FileHashing& how) {
  // The time before the open: a change made after it, while the file is read, falls in a
  // later tick than the stamp shows unless the stamp is too young to be remembered.
  const std::int64_t now = NowNs();
  InputFile file(path);
  if (const auto known = Find(path, file.Stamp())) {
    how.Work.Report(file.Size(), file.Size(), kHashingStep);
    return {*known, true, file.Stamp()};
  }
  const Sha256Digest digest = HashOpenFile(file, how);
  Remember(path, file.Stamp(), digest, now);
  return {digest, false, file.Stamp()};
}

}  // namespace pwx
