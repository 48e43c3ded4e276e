#include "common/FileReading.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __APPLE__
#include <sys/mount.h>
#else
#include <sys/vfs.h>
#endif
#endif

#include "common/EditorError.h"
#include "common/FileSystem.h"
#include "common/MessageText.h"

namespace pwx {

std::string CannotOpenText(const std::string& path, const std::string& reason) {
  return "Cannot open file \"" + QuotePath(path) + "\". " + reason;
}

std::string NotRegularFileText(const std::string& path) {
  // Built piece by piece: GCC 12 warns wrongly about a literal added to a temporary string.
  std::string text(1, '"');
  text += QuotePath(path);
  text += "\" is not a regular file";
  return text;
}

namespace {

// A failure to open, with the kind of refusal it was.
class OpenRefusal : public EditorError {
 public:
  OpenRefusal(const std::string& text, bool notRegular)
      : EditorError(text), notRegular_(notRegular) {}
  bool NotRegular() const { return notRegular_; }

 private:
  bool notRegular_;
};

#ifndef _WIN32
// Whether the file system of an open file keeps a true change time: the disk file systems
// of Linux and macOS do. FAT and exFAT keep none (what shows as one follows the modification
// time, or is the creation time), and a FUSE file system may show anything.
bool KeepsChangeTime(int descriptor) {
  struct statfs system {};
  if (fstatfs(descriptor, &system) != 0) return false;
#ifdef __APPLE__
  const std::string type = system.f_fstypename;
  return type == "apfs" || type == "hfs";
#else
  switch (static_cast<unsigned long>(system.f_type)) {
    case 0xEF53:      // ext2, ext3, ext4
    case 0x58465342:  // xfs
    case 0x9123683E:  // btrfs
    case 0x01021994:  // tmpfs
    case 0x794C7630:  // overlayfs
    case 0xF2F52010:  // f2fs
    case 0x2FC12FC1:  // zfs
    case 0xCA451A4E:  // bcachefs
      return true;
    default:
      return false;
  }
#endif
}
#endif

}  // namespace

#ifdef _WIN32

InputFile::InputFile(const std::string& path, bool) : path_(path) {
  if (_wsopen_s(&descriptor_, PathOf(path).c_str(), _O_RDONLY | _O_BINARY, _SH_DENYNO, 0) != 0) {
    throw OpenRefusal(CannotOpenText(path, SystemReason(errno)), false);
  }
  struct _stat64 status {};
  if (_fstat64(descriptor_, &status) != 0 || !(status.st_mode & _S_IFREG)) {
    const bool folder = (status.st_mode & _S_IFDIR) != 0;
    _close(descriptor_);
    descriptor_ = -1;
    throw OpenRefusal(
        folder ? CannotOpenText(path, SystemReason(EISDIR)) : NotRegularFileText(path), !folder);
  }
  // Windows keeps no change time in its stat (st_ctime is the creation time): nothing here
  // can tell a file edited with its time set back.
  stamp_.Size = static_cast<std::uint64_t>(status.st_size);
  stamp_.ModifiedNs = static_cast<std::int64_t>(status.st_mtime) * 1000000000;
}

InputFile::~InputFile() {
  if (descriptor_ >= 0) _close(descriptor_);
}

void InputFile::DropCachedPages() {}  // the system offers no way; reads may come from memory

std::size_t InputFile::Read(char* buffer, std::size_t room) {
  const unsigned ask = room > 1u << 30 ? 1u << 30 : static_cast<unsigned>(room);
  const int got = _read(descriptor_, buffer, ask);
  if (got < 0) throw EditorError(CannotOpenText(path_, SystemReason(errno)));
  return static_cast<std::size_t>(got);
}

void InputFile::Seek(std::uint64_t position) {
  if (_lseeki64(descriptor_, static_cast<__int64>(position), SEEK_SET) < 0) {
    throw EditorError(CannotOpenText(path_, SystemReason(errno)));
  }
}

bool InputFile::IsSameFileAs(const std::string& path) const {
  std::error_code ec;
  return std::filesystem::equivalent(PathOf(path_), PathOf(path), ec) && !ec;
}

#else

InputFile::InputFile(const std::string& path, bool checkTypeFirst) : path_(path) {
  // The type is checked before the open, so that no device is ever opened, and again on
  // what was opened. O_NONBLOCK makes the open of a named pipe that appeared in between
  // return at once instead of waiting for a writer; a socket cannot be opened at all.
  struct stat status {};
  if (checkTypeFirst && stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) &&
      !S_ISDIR(status.st_mode)) {
    throw OpenRefusal(NotRegularFileText(path), true);
  }
  descriptor_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (descriptor_ < 0 && errno == ENXIO) throw OpenRefusal(NotRegularFileText(path), true);
  if (descriptor_ < 0) throw OpenRefusal(CannotOpenText(path, SystemReason(errno)), false);
  if (fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode)) {
    const bool folder = S_ISDIR(status.st_mode);
    ::close(descriptor_);
    descriptor_ = -1;
    throw OpenRefusal(
        folder ? CannotOpenText(path, SystemReason(EISDIR)) : NotRegularFileText(path), !folder);
  }
  // A regular file never blocks; clearing the flag keeps reads plain on every system.
  fcntl(descriptor_, F_SETFL, fcntl(descriptor_, F_GETFL) & ~O_NONBLOCK);
#ifdef __APPLE__
  const timespec& modified = status.st_mtimespec;
  const timespec& changed = status.st_ctimespec;
#else
  const timespec& modified = status.st_mtim;
  const timespec& changed = status.st_ctim;
#endif
  stamp_.Size = static_cast<std::uint64_t>(status.st_size);
  stamp_.ModifiedNs = static_cast<std::int64_t>(modified.tv_sec) * 1000000000 + modified.tv_nsec;
  stamp_.ChangedNs = static_cast<std::int64_t>(changed.tv_sec) * 1000000000 + changed.tv_nsec;
  stamp_.Inode = static_cast<std::uint64_t>(status.st_ino);
  stamp_.Device = static_cast<std::uint64_t>(status.st_dev);
  stamp_.KeepsChangeTime = KeepsChangeTime(descriptor_);
}

InputFile::~InputFile() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

void InputFile::DropCachedPages() {
#ifdef POSIX_FADV_DONTNEED
  posix_fadvise(descriptor_, 0, 0, POSIX_FADV_DONTNEED);
#endif
}

std::size_t InputFile::Read(char* buffer, std::size_t room) {
  for (;;) {
    const ssize_t got = ::read(descriptor_, buffer, room);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) throw EditorError(CannotOpenText(path_, SystemReason(errno)));
  }
}

void InputFile::Seek(std::uint64_t position) {
  if (lseek(descriptor_, static_cast<off_t>(position), SEEK_SET) < 0) {
    throw EditorError(CannotOpenText(path_, SystemReason(errno)));
  }
}

bool InputFile::IsSameFileAs(const std::string& path) const {
  // A link is another file: replacing it with a copy keeps the project self-contained.
  struct stat status;
  return lstat(path.c_str(), &status) == 0 &&
         static_cast<std::uint64_t>(status.st_dev) == stamp_.Device &&
         static_cast<std::uint64_t>(status.st_ino) == stamp_.Inode;
}

#endif

std::string FileRead::TakeBytes() {
  if (!Ok()) throw EditorError(Failure);
  return std::move(Bytes);
}

FileRead ReadFile(const std::string& path, std::size_t limit) {
  FileRead result;
  try {
    InputFile file(path);
    const auto size = file.Size();
    result.Bytes.resize(size < limit ? static_cast<std::size_t>(size) : limit);
    std::size_t filled = 0;
    while (filled < result.Bytes.size()) {
      const std::size_t got = file.Read(result.Bytes.data() + filled, result.Bytes.size() - filled);
      if (got == 0) break;  // the file shrank since it was opened
      filled += got;
    }
    result.Bytes.resize(filled);
    result.Size = static_cast<std::int64_t>(size);
  } catch (const OpenRefusal& refusal) {
    result = FileRead{};
    result.Failure = refusal.what();
    result.NotRegular = refusal.NotRegular();
  } catch (const EditorError& error) {
    result = FileRead{};
    result.Failure = error.what();
  }
  return result;
}

StreamedRead ReadFileInChunks(const std::string& path, std::size_t chunkBytes, std::uint64_t limit,
                              const std::function<void(std::string_view)>& consume) {
  InputFile file(path);
  std::vector<char> buffer(chunkBytes == 0 ? 1 : chunkBytes);
  StreamedRead read;
  read.FileSize = file.Size();
  while (read.BytesRead < limit) {
    const std::uint64_t room = std::min<std::uint64_t>(buffer.size(), limit - read.BytesRead);
    const std::size_t got = file.Read(buffer.data(), static_cast<std::size_t>(room));
    if (got == 0) return read;
    read.BytesRead += got;
    consume(std::string_view(buffer.data(), got));
  }
  char probe;
  read.Truncated = file.Read(&probe, 1) > 0;
  return read;
}

}  // namespace pwx
