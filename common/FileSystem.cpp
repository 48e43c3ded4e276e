#include "common/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
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

std::string TemporaryNameFor(const std::string& path) { return path + ".saving"; }

// Renames the finished temporary file over the target; on failure the temporary is removed
// and the target keeps its old content.
void CommitTemporary(const std::string& temporary, const std::string& path) {
  std::error_code ec;
  fs::rename(PathOf(temporary), PathOf(path), ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(PathOf(temporary), ignored);
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

bool CreateFolderWithParents(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::create_directories(PathOf(path), ec);
  return FolderExists(path);
}

std::int64_t FileSize(const std::string& path) {
  auto file = OpenFile(path, "rb");
  if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return -1;
  return std::ftell(file.get());
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
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return {};
  length = std::ftell(file.get());
  std::fseek(file.get(), 0, SEEK_SET);
  std::string bytes(limit, '\0');
  bytes.resize(std::fread(bytes.data(), 1, limit, file.get()));
  return bytes;
}

void ReplaceFile(const std::string& path, std::string_view bytes) {
  const std::string temporary = TemporaryNameFor(path);
  {
    auto file = OpenFile(temporary, "wb");
    if (!file) throw EditorError(CannotCreate(path, SystemReason(errno)));
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    int reason = errno;
    if (std::fflush(file.get()) != 0) {
      written = false;
      reason = errno;
    }
    if (!written) {
      file.reset();
      std::error_code ignored;
      fs::remove(PathOf(temporary), ignored);
      throw EditorError(CannotCreate(path, SystemReason(reason)));
    }
  }
  CommitTemporary(temporary, path);
}

void CopyFileOver(const std::string& source, const std::string& dest) {
  std::error_code ec;
  if (!FileExists(source)) {
    throw EditorError(CannotOpen(source, SystemReason(ENOENT)));
  }
  if (fs::exists(PathOf(dest), ec) && fs::equivalent(PathOf(source), PathOf(dest), ec)) return;
  const std::string temporary = TemporaryNameFor(dest);
  fs::copy_file(PathOf(source), PathOf(temporary), fs::copy_options::overwrite_existing, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(PathOf(temporary), ignored);
    throw EditorError(CannotCreate(dest, ec.message()));
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
