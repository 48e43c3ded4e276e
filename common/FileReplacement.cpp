#include "common/FileReplacement.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "common/EditorError.h"
#include "common/FileReading.h"
#include "common/FileSystem.h"
#include "common/MessageText.h"
#include "common/OpenTemporaries.h"

namespace pwx {
namespace fs = std::filesystem;

std::string CannotCreateText(const std::string& path, const std::string& reason) {
  return "Cannot create file \"" + QuotePath(path) + "\". " + reason;
}

namespace {

constexpr int kNameAttempts = 32;
constexpr std::size_t kLongestNamePart = 100;
constexpr std::size_t kCopyChunkBytes = 256 * 1024;

// Where a path's file name starts: after its last separator (either kind on Windows).
std::size_t NameStart(const std::string& path) {
#ifdef _WIN32
  const auto separator = path.find_last_of("/\\");
#else
  const auto separator = path.rfind('/');
#endif
  return separator == std::string::npos ? 0 : separator + 1;
}

// ".<name>-<12 random letters and digits>.saving" in the target's folder: hidden, named
// after what it becomes, and impossible to guess ahead.
std::string TemporaryNameFor(const std::string& target) {
  static constexpr char kAlphabet[] =
      "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  std::random_device random;
  std::uniform_int_distribution<int> pick(0, 61);
  std::string token;
  for (int i = 0; i < 12; ++i) token += kAlphabet[pick(random)];
  const std::size_t start = NameStart(target);
  const std::string name = target.substr(start, kLongestNamePart);
  return target.substr(0, start) + "." + name + "-" + token + ".saving";
}

#ifdef _WIN32
int CreateExclusively(const std::string& path) {
  int descriptor = -1;
  if (_wsopen_s(&descriptor, PathOf(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                _SH_DENYRW, _S_IREAD | _S_IWRITE) != 0) {
    return -1;
  }
  return descriptor;
}
int WriteSome(int descriptor, const char* bytes, std::size_t size) {
  const unsigned ask = size > 1u << 30 ? 1u << 30 : static_cast<unsigned>(size);
  return _write(descriptor, bytes, ask);
}
int WriteSomeAt(int descriptor, const char* bytes, std::size_t size, std::uint64_t offset) {
  const __int64 end = _lseeki64(descriptor, 0, SEEK_END);
  if (end < 0 || _lseeki64(descriptor, static_cast<__int64>(offset), SEEK_SET) < 0) return -1;
  const int written = WriteSome(descriptor, bytes, size);
  const int reason = errno;
  if (_lseeki64(descriptor, end, SEEK_SET) < 0) return -1;
  errno = reason;
  return written;
}
int SyncToDisk(int descriptor) {
  return _commit(descriptor) == 0 ? 0 : errno;
}
int CloseFile(int descriptor) {
  return _close(descriptor) == 0 ? 0 : errno;
}
void SyncFolderOf(const std::string&) {}  // the rename is durable once it returns
#else
int CreateExclusively(const std::string& path) {
  // O_EXCL fails on anything already there, a link included, so nothing is followed.
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}
ssize_t WriteSome(int descriptor, const char* bytes, std::size_t size) {
  return ::write(descriptor, bytes, size);
}
ssize_t WriteSomeAt(int descriptor, const char* bytes, std::size_t size, std::uint64_t offset) {
  return ::pwrite(descriptor, bytes, size, static_cast<off_t>(offset));
}
int SyncToDisk(int descriptor) {
  return fsync(descriptor) == 0 ? 0 : errno;
}
int CloseFile(int descriptor) {
  return ::close(descriptor) == 0 ? 0 : errno;
}
// Makes the rename itself survive a power cut or a pulled card.
void SyncFolderOf(const std::string& path) {
  const std::size_t start = NameStart(path);
  const std::string folder = start == 0 ? "." : path.substr(0, start);
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  fsync(descriptor);
  ::close(descriptor);
}
#endif

}  // namespace

FileReplacement::FileReplacement(std::string target) : target_(std::move(target)) {
  for (int attempt = 0; attempt < kNameAttempts && descriptor_ < 0; ++attempt) {
    temporary_ = TemporaryNameFor(target_);
    descriptor_ = CreateExclusively(temporary_);
    if (descriptor_ < 0 && errno != EEXIST) break;
  }
  if (descriptor_ < 0) throw EditorError(CannotCreateText(target_, SystemReason(errno)));
  noted_ = NoteOpenTemporary(PathOf(temporary_));
}

FileReplacement::~FileReplacement() {
  Discard();
}

void FileReplacement::Discard() {
  if (descriptor_ < 0) return;
  CloseFile(descriptor_);
  descriptor_ = -1;
  std::error_code ignored;
  fs::remove(PathOf(temporary_), ignored);
  ForgetOpenTemporary(std::exchange(noted_, -1));
}

void FileReplacement::Write(std::string_view bytes) {
  WriteAll(bytes, std::nullopt);
}

void FileReplacement::Overwrite(std::uint64_t offset, std::string_view bytes) {
  WriteAll(bytes, offset);
}

void FileReplacement::WriteAll(std::string_view bytes, std::optional<std::uint64_t> at) {
  while (!bytes.empty()) {
    const auto written = at ? WriteSomeAt(descriptor_, bytes.data(), bytes.size(), *at)
                            : WriteSome(descriptor_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      const int reason = written < 0 ? errno : EIO;
      Discard();
      throw EditorError(CannotCreateText(target_, SystemReason(reason)));
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
    if (at) *at += static_cast<std::uint64_t>(written);
  }
}

void FileReplacement::StartWriteback() {
#ifdef __linux__
  if (descriptor_ >= 0) sync_file_range(descriptor_, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

void FileReplacement::Commit() {
  int reason = SyncToDisk(descriptor_);
  const int closing = CloseFile(descriptor_);
  descriptor_ = -1;
  if (reason == 0) reason = closing;
  std::error_code renaming;
  if (reason == 0) {
    fs::rename(PathOf(temporary_), PathOf(target_), renaming);
    if (!renaming) {
      ForgetOpenTemporary(std::exchange(noted_, -1));
      SyncFolderOf(target_);
      return;
    }
  }
  std::error_code ignored;
  fs::remove(PathOf(temporary_), ignored);
  ForgetOpenTemporary(std::exchange(noted_, -1));
  throw EditorError(
      CannotCreateText(target_, reason != 0 ? SystemReason(reason) : renaming.message()));
}

void ReplaceFile(const std::string& path, std::string_view bytes) {
  FileReplacement replacement(path);
  replacement.Write(bytes);
  replacement.Commit();
}

bool CopyFileOver(const std::string& source, const std::string& dest, std::uint64_t limit) {
  // A source that cannot be read is the source's fault, not the project folder's.
  InputFile input(source);
  if (input.Size() > limit) return false;
  if (input.IsSameFileAs(dest)) return true;  // importing a project copy onto itself
  FileReplacement copy(dest);
  std::vector<char> buffer(kCopyChunkBytes);
  std::uint64_t copied = 0;
  while (const std::size_t got = input.Read(buffer.data(), buffer.size())) {
    copied += got;
    if (copied > limit) return false;  // the dropped replacement removes its temporary
    copy.Write(std::string_view(buffer.data(), got));
  }
  copy.Commit();
  return true;
}

bool IsReplacementTemporaryName(std::string_view name) {
  constexpr std::string_view kSuffix = ".saving";
  constexpr std::size_t kTokenLength = 12;
  // "." + at least one character of the name + "-" + token + suffix.
  if (name.size() < 1 + 1 + 1 + kTokenLength + kSuffix.size() || name.front() != '.' ||
      name.substr(name.size() - kSuffix.size()) != kSuffix) {
    return false;
  }
  const std::string_view token =
      name.substr(name.size() - kSuffix.size() - kTokenLength, kTokenLength);
  const char dash = name[name.size() - kSuffix.size() - kTokenLength - 1];
  return dash == '-' && std::all_of(token.begin(), token.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
         });
}

std::vector<std::string> RemoveLeftoverTemporaries(const std::string& folder) {
  std::vector<std::string> removed;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(PathOf(folder), error)) {
    const std::string name = entry.path().filename().string();
    std::error_code typeError;
    if (!IsReplacementTemporaryName(name) || entry.is_symlink(typeError) ||
        !entry.is_regular_file(typeError)) {
      continue;
    }
    if (fs::remove(entry.path(), typeError)) removed.push_back(name);
  }
  std::sort(removed.begin(), removed.end());
  return removed;
}

}  // namespace pwx
