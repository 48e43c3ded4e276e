#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audio/ClipProbe.h"
#include "common/FileReading.h"
#include "delivery/ProjectCheck.h"

namespace pwx {

// The source of a clip, read beside its project copy piece for piece as the check reads the
// copy, up to the first byte in which the two differ: a copy made byte for byte costs one read
// of each file, a converted one the first piece of its source.
class SourceReading {
 public:
  // Opens the source; a source that cannot be opened is noted, never raised.
  explicit SourceReading(const std::string& path);
  SourceReading(const SourceReading&) = delete;
  SourceReading& operator=(const SourceReading&) = delete;

  // The next piece of the copy.
  void See(std::string_view copyPiece);
  // After the last piece of the copy.
  void Finish();

  const std::string& Path() const { return path_; }
  // Why the source could not be read; empty when it could.
  const std::string& Failure() const { return failure_; }
  // Where the source and the copy first differ; none when they hold the same bytes.
  std::optional<std::uint64_t> FirstDifference() const { return difference_; }
  std::uint64_t SourceSize() const { return file_ ? file_->Size() : 0; }
  std::int64_t SourceModifiedNs() const { return file_ ? file_->Stamp().ModifiedNs : 0; }

 private:
  std::string path_;
  std::optional<InputFile> file_;
  std::string failure_;
  std::uint64_t seen_ = 0;
  std::optional<std::uint64_t> difference_;
  std::vector<char> buffer_;
};

// What the check says of a clip's source, after reading it beside the copy: nothing when the
// copy holds the source's bytes; else whether the source is gone or unreadable
// (`source-missing`), changed since the import or the copy changed in the project folder
// (`copy-differs-from-source`), or the copy was converted or levelled from it
// (`copy-converted`). The project keeps no record of its imports, so the files tell: a
// source modified after its copy was written changed since; a copy that matches its source
// for a long stretch and then not was altered; a converted copy keeps the source's length.
std::optional<Finding> SourceFinding(int clip, const FileStamp& copyStamp, const ClipFacts& copy,
                                     const SourceReading& source);

}  // namespace pwx
