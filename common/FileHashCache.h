#pragma once

#include <map>
#include <optional>
#include <string>

#include "common/FileReading.h"
#include "common/Sha256.h"

namespace pwx {

// The SHA-256 of files by path and stamp, so that a file unchanged since it was hashed need
// not be read again: a second copy of an unchanged project to a card then costs a look at
// each file instead of reading every byte twice. Kept in a file of the user's own (never on
// the card), or for this run only. Only files on a file system that keeps a true change time
// are remembered: elsewhere (FAT and exFAT cards) a file edited in place with its time set
// back would look unchanged, so such files are read every time.
class FileHashCache {
 public:
  // Reads what `storePath` holds; an empty path keeps the hashes for this run only. A store
  // that is missing, unreadable or damaged is an empty cache.
  explicit FileHashCache(std::string storePath = {});

  // The remembered digest when the file still has this stamp.
  std::optional<Sha256Digest> Find(const std::string& path, const FileStamp& stamp) const;

  // Remembers a digest of the file as it was at `nowNs` (nanoseconds since the epoch, taken
  // before the file was opened), unless its file system keeps no true change time, or the
  // file was changed so lately that a rewrite within the same tick of its file system's
  // clock (two seconds on a FAT card) could keep its stamp.
  void Remember(const std::string& path, const FileStamp& stamp, const Sha256Digest& digest,
                std::int64_t nowNs);

  // Drops what is remembered of a file: its digest proved wrong, so it is read again.
  void Forget(const std::string& path);

  // Writes the store (safely replaced) when a digest was remembered or dropped since it was
  // read; a failure only costs the next run some reading.
  void Save() const;

  struct Hashed {
    Sha256Digest Digest{};
    bool Remembered = false;  // from the cache; the file was not read in this run
    FileStamp Stamp;          // the file's when it was opened
  };

  // The digest of a file, from the cache when its stamp is unchanged, else read (and then
  // remembered). Raises like InputFile.
  Hashed Hash(const std::string& path, const FileHashing& how = {});

 private:
  struct Entry {
    FileStamp Stamp;
    Sha256Digest Digest;
  };
  std::string storePath_;
  std::map<std::string, Entry> entries_;
  bool changed_ = false;  // since the store was read
};

// The time now in nanoseconds since the epoch, on the clock that stamps files.
std::int64_t NowNs();

}  // namespace pwx
