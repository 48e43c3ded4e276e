#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/FileReading.h"

namespace pwx {

// A clip's bytes, read where they are needed: the frames' headers one after another, and
// only the ends for decoding.
class ClipBytes {
 public:
  virtual ~ClipBytes() = default;
  virtual std::uint64_t Size() const = 0;
  // The bytes from `from`, at most `length` of them; valid until the next call.
  virtual std::string_view Read(std::uint64_t from, std::size_t length) = 0;
};

class MemoryBytes final : public ClipBytes {
 public:
  explicit MemoryBytes(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  std::string_view Read(std::uint64_t from, std::size_t length) override;

 private:
  std::string_view bytes_;
};

// A clip file, read a window of at least 64 KiB at a time into `window`: walking the
// headers of a clip asks for four bytes every few hundred, and each read of the file costs a
// call into the system.
class FileBytes final : public ClipBytes {
 public:
  FileBytes(InputFile& file, std::vector<char>& window) : file_(file), window_(window) {}
  std::uint64_t Size() const override { return file_.Size(); }
  std::string_view Read(std::uint64_t from, std::size_t length) override;

 private:
  InputFile& file_;
  std::vector<char>& window_;
  std::uint64_t windowStart_ = 0;
  std::size_t windowBytes_ = 0;
  std::uint64_t position_ = 0;  // where the file's next read starts
};

}  // namespace pwx
