#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/Progress.h"

namespace pwx {

using Sha256Digest = std::array<std::uint8_t, 32>;

// SHA-256 over bytes fed in pieces.
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void Update(std::string_view bytes);
  // The digest of everything fed; the hash is then spent.
  Sha256Digest Finish();

 private:
  struct Context;
  std::unique_ptr<Context> context_;
};

// The digest of bytes held whole.
Sha256Digest Sha256Of(std::string_view bytes);

// The digest as 64 lower-case hex digits.
std::string HexText(const Sha256Digest& digest);

inline constexpr const char* kHashingStep = "Hashing";

struct FileHashing {
  // Its progress is the step "Hashing", the bytes read so far of the file's size; a cancel
  // stops the reading between two pieces ("Cancelled." is raised then).
  WorkControl Work;
  // Drops the file's cached pages before reading, so the bytes come from the device: the
  // read-back of a copy just written proves what the card holds, not what memory holds.
  bool FromDevice = false;
};

class InputFile;

// The SHA-256 of a regular file, read in pieces. Raises like InputFile.
Sha256Digest HashFile(const std::string& path, const FileHashing& how = {});
// The same for a file already open, read from where it stands to its end.
Sha256Digest HashOpenFile(InputFile& file, const FileHashing& how = {});

}  // namespace pwx
