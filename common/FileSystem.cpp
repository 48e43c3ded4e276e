#include "common/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "common/EditorError.h"

namespace pwx {
namespace fs = std::filesystem;

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

FileHandle OpenFile(const std::string& path, const char* mode) {
#ifdef _WIN32
  std::wstring wideMode(mode, mode + std::strlen(mode));
  return FileHandle(_wfopen(PathOf(path).c_str(), wideMode.c_str()));
#else
  FileHandle file(std::fopen(path.c_str(), mode));
  // POSIX lets a folder be opened for reading (the size then reads as the largest offset and
  // every read fails); a folder is no file, so it counts as one that cannot be opened.
  struct stat status;
  if (file && fstat(fileno(file.get()), &status) == 0 && S_ISDIR(status.st_mode)) {
    errno = EISDIR;
    return nullptr;
  }
  return file;
#endif
}

std::string CannotCreate(const std::string& path, const std::string& reason) {
  return "Cannot create file \"" + path + "\". " + reason;
}

std::string CannotOpen(const std::string& path, const std::string& reason) {
  return "Cannot open file \"" + path + "\". " + reason;
}

std::string TemporaryNameFor(const std::string& path) {
  return path + ".saving";
}

// Pushes a file's bytes through to the disk, so that the rename that follows can never
// publish a file whose content is still only in memory. Returns 0 or the errno.
int SyncToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return errno;
#ifdef _WIN32
  if (_commit(_fileno(file)) != 0) return errno;
#else
  if (fsync(fileno(file)) != 0) return errno;
#endif
  return 0;
}

// Closes a written file and reports the first failure among syncing and closing.
int SyncAndClose(FileHandle file) {
  int reason = SyncToDisk(file.get());
  if (std::fclose(file.release()) != 0 && reason == 0) reason = errno;
  return reason;
}

void RemoveQuietly(const std::string& path) {
  std::error_code ignored;
  fs::remove(PathOf(path), ignored);
}

// Renames the finished temporary file over the target; on failure the temporary is removed
// and the target keeps its old content.
void CommitTemporary(const std::string& temporary, const std::string& path) {
  std::error_code ec;
  fs::rename(PathOf(temporary), PathOf(path), ec);
  if (ec) {
    RemoveQuietly(temporary);
    throw EditorError(CannotCreate(path, ec.message()));
  }
}

}  // namespace

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
    throw EditorError("Cannot create folder \"" + path + "\". " +
                      (ec ? ec.message() : SystemReason(ENOTDIR)));
  }
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

std::int64_t FileSize(const std::string& path) {
  if (!OpenFile(path, "rb")) return -1;
  std::error_code ec;
  const auto size = fs::file_size(PathOf(path), ec);
  return ec ? -1 : static_cast<std::int64_t>(size);
}

std::string ReadFileBytes(const std::string& path) {
  auto file = OpenFile(path, "rb");
  if (!file) throw EditorError(CannotOpen(path, SystemReason(errno)));
  std::string bytes;
  char buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, got);
  if (std::ferror(file.get())) throw EditorError(CannotOpen(path, SystemReason(errno)));
  return bytes;
}

std::string ReadFileHead(const std::string& path, std::size_t limit, std::int64_t& length) {
  length = -1;
  auto file = OpenFile(path, "rb");
  if (!file) return {};
  std::error_code ec;
  const auto size = fs::file_size(PathOf(path), ec);
  if (ec) return {};
  length = static_cast<std::int64_t>(size);
  std::string bytes(limit, '\0');
  bytes.resize(std::fread(bytes.data(), 1, limit, file.get()));
  return bytes;
}

std::string ReadFileStart(const std::string& path, std::size_t limit) {
  auto file = OpenFile(path, "rb");
  if (!file) throw EditorError(CannotOpen(path, SystemReason(errno)));
  std::string bytes(limit, '\0');
  bytes.resize(std::fread(bytes.data(), 1, limit, file.get()));
  if (std::ferror(file.get())) throw EditorError(CannotOpen(path, SystemReason(errno)));
  return bytes;
}

void ReplaceFile(const std::string& path, std::string_view bytes) {
  const std::string temporary = TemporaryNameFor(path);
  auto file = OpenFile(temporary, "wb");
  if (!file) throw EditorError(CannotCreate(path, SystemReason(errno)));
  int reason = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) reason = errno;
  const int closing = SyncAndClose(std::move(file));
  if (reason == 0) reason = closing;
  if (reason != 0) {
    RemoveQuietly(temporary);
    throw EditorError(CannotCreate(path, SystemReason(reason)));
  }
  CommitTemporary(temporary, path);
}

void CopyFileOver(const std::string& source, const std::string& dest) {
  // A source that cannot be read is the source's fault, not the project folder's.
  if (!OpenFile(source, "rb")) throw EditorError(CannotOpen(source, SystemReason(errno)));
  std::error_code ec;
  if (fs::exists(PathOf(dest), ec) && fs::equivalent(PathOf(source), PathOf(dest), ec)) return;
  const std::string temporary = TemporaryNameFor(dest);
  fs::copy_file(PathOf(source), PathOf(temporary), fs::copy_options::overwrite_existing, ec);
  int reason = ec ? ec.value() : 0;
  if (!ec) {
    if (auto copy = OpenFile(temporary, "rb")) {
      reason = SyncAndClose(std::move(copy));
    } else {
      reason = errno;
    }
  }
  if (reason != 0) {
    RemoveQuietly(temporary);
    throw EditorError(CannotCreate(dest, SystemReason(reason)));
  }
  CommitTemporary(temporary, dest);
}

bool PathExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::exists(fs::symlink_status(PathOf(path), ec));
}

void DeleteFile(const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(PathOf(path), ec))) {
    throw EditorError("Cannot delete file \"" + path + "\". " + SystemReason(EISDIR));
  }
  fs::remove(PathOf(path), ec);
  if (ec) throw EditorError("Cannot delete file \"" + path + "\". " + ec.message());
}

}  // namespace pwx
