#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace pwx {

// "Cannot open file "<path>". <reason>": the text of every failure to read a file.
std::string CannotOpenText(const std::string& path, const std::string& reason);

// The refusal to read something that is not a regular file: a named pipe would block the
// window for good, and a device or socket holds no project data.
std::string NotRegularFileText(const std::string& path);

// What tells one version of a file from another without reading it. The change time moves
// whenever the file's bytes or times are changed, also when its modification time is set
// back by hand, on the file systems that keep one (`KeepsChangeTime`); a file rewritten
// keeps all of these alike only when that happens within one tick of the clock that stamps
// it.
struct FileStamp {
  std::uint64_t Size = 0;
  std::int64_t ModifiedNs = 0;  // modification time, nanoseconds since the epoch
  std::int64_t ChangedNs = 0;   // change time (of the bytes or the file's details), likewise
  std::uint64_t Inode = 0;
  std::uint64_t Device = 0;
  // Whether the file's file system keeps a true change time. FAT and exFAT cards, and file
  // systems the program does not know, keep none that can be trusted: there a file edited
  // in place with its time set back keeps its stamp.
  bool KeepsChangeTime = false;
  bool operator==(const FileStamp&) const = default;
};

// A regular file opened for reading. Opening never blocks (a named pipe is refused before
// anyone waits for a writer); a folder, pipe, socket or device is refused. A link is
// followed: what counts is the file it leads to.
class InputFile {
 public:
  // Raises "Cannot open file "<path>". <reason>" or "<path>" is not a regular file".
  // `checkTypeFirst` is false only to test the check on what was opened alone.
  explicit InputFile(const std::string& path, bool checkTypeFirst = true);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // The size the file had when it was opened.
  std::uint64_t Size() const { return stamp_.Size; }
  // The file's stamp when it was opened.
  const FileStamp& Stamp() const { return stamp_; }
  // Drops what the system holds of the file in memory, so that reading it goes to the device.
  void DropCachedPages();

  // Reads up to `room` bytes; 0 at the end. Raises "Cannot open file ..." on a read error.
  std::size_t Read(char* buffer, std::size_t room);

  // Moves where the next read starts, counted from the start of the file (a decoder that
  // reads a header at the end, or jumps back). Raises "Cannot open file ..." on failure.
  void Seek(std::uint64_t position);

  // Whether `path` names this very file (through any spelling of its folder; a link at
  // `path` is a file of its own).
  bool IsSameFileAs(const std::string& path) const;

 private:
  std::string path_;
  int descriptor_ = -1;
  FileStamp stamp_;  // size, time and identity when opened
};

// What one read of a file gave.
struct FileRead {
  std::string Bytes;        // at most the limit asked for, from the start of the file
  std::int64_t Size = -1;   // the file's size on disk; -1 when it could not be read
  std::string Failure;      // empty, or the user text of why it could not be read
  bool NotRegular = false;  // something stands there, but no regular file

  bool Ok() const { return Failure.empty(); }
  // The bytes; raises the failure when there are none.
  std::string TakeBytes();
};

// The one way to read a file: at most `limit` bytes from its start, with its size, or the
// reason it could not be read. Never blocks and never reads more than the limit.
FileRead ReadFile(const std::string& path, std::size_t limit);

// What streaming a file gave: how many bytes went through, and whether the file held more
// than the limit.
struct StreamedRead {
  std::uint64_t BytesRead = 0;
  std::uint64_t FileSize = 0;  // as the open found it
  bool Truncated = false;
};

// Streams at most `limit` bytes of a file through `consume`, at most `chunkBytes` at a time,
// so that a file of any size is read in constant memory and bounded time. Raises like
// InputFile.
StreamedRead ReadFileInChunks(const std::string& path, std::size_t chunkBytes, std::uint64_t limit,
                              const std::function<void(std::string_view)>& consume);

}  // namespace pwx
