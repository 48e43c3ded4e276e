#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pwx {

// "Cannot create file "<path>". <reason>": the text of every failure to write a file.
std::string CannotCreateText(const std::string& path, const std::string& reason);

// A new version of a file, put in place in one step. The bytes go to a temporary file that
// is created exclusively under a fresh, unpredictable name in the target's folder, so
// nothing that already stands there (a planted link or file) is ever opened or followed.
// Commit pushes the bytes through to the disk and renames the temporary over the target,
// which afterwards is a regular file whatever stood at its name before. Until then the
// target is untouched; a replacement dropped without Commit removes its temporary.
class FileReplacement {
 public:
  // Raises "Cannot create file "<target>". <reason>".
  explicit FileReplacement(std::string target);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Appends bytes. Raises "Cannot create file ...".
  void Write(std::string_view bytes);

  // Writes bytes over some already written, from `offset` (a header that is only known once
  // everything after it is written); later writes still append. Raises "Cannot create file
  // ...".
  void Overwrite(std::uint64_t offset, std::string_view bytes);

  // Starts pushing the bytes written so far to the disk without waiting for them, so that the
  // disk works while more are made; Commit still waits for every byte.
  void StartWriteback();

  // Syncs, closes and renames over the target. Raises "Cannot create file ..."; the target
  // then keeps its old content.
  void Commit();

 private:
  void Discard();
  // Writes all bytes at the end, or from `at` on; on failure drops the temporary and raises.
  void WriteAll(std::string_view bytes, std::optional<std::uint64_t> at);

  std::string target_;
  std::string temporary_;
  int descriptor_ = -1;
  int noted_ = -1;  // its place among the open temporaries, which a signal may remove
};

// Replaces a file safely with these bytes (see FileReplacement).
// Raises "Cannot create file "<path>". <reason>" and leaves the old file as it was.
void ReplaceFile(const std::string& path, std::string_view bytes);

// Copies a regular file the same safe way, streaming (never the whole file in memory).
// Copying a file onto itself leaves it intact. Returns false, and writes nothing, when the
// source holds more than `limit` bytes, counted on what is read, so a file that grows after
// a size check is still refused. Raises "Cannot open file "<source>". <reason>" or
// "<source>" is not a regular file" when the source cannot be read, and "Cannot create file
// "<dest>". <reason>" when the copy cannot be written.
bool CopyFileOver(const std::string& source, const std::string& dest,
                  std::uint64_t limit = std::numeric_limits<std::uint64_t>::max());

// Whether a file name is one of the temporaries a FileReplacement makes (".<name>-<12 letters
// and digits>.saving").
bool IsReplacementTemporaryName(std::string_view name);

// Removes the temporaries that replacements of an earlier run left in `folder` when that run
// was killed before it could clean up: regular files with a temporary's name only, never a
// link, folder or other file. Call it only while no other writer works in the folder (under
// the folder's lock). Returns the names removed; what cannot be removed is left.
std::vector<std::string> RemoveLeftoverTemporaries(const std::string& folder);

}  // namespace pwx
