#pragma once

// The bytes of a project's plist.cfg and m3fn.txt, built by hand from the file layouts rather
// than by the code under test, for the tests of every layer.

#include <string>
#include <utility>
#include <vector>

namespace pwx::testing {

// A 512-byte plist.cfg: a new project's image (signature, mode 0, repeat 1 for all 64 slots)
// until set otherwise.
class PlayListBytes {
 public:
  PlayListBytes() : bytes_(512, '\0') {
    bytes_.replace(0, 4, "\x5A\x35\x77\xA5");
    for (int s = 0; s < 64; ++s) bytes_[96 + s] = 1;
  }
  // Starts from other bytes (noise in the parts the window never edits, say), with the
  // signature in place.
  explicit PlayListBytes(std::string start) : bytes_(std::move(start)) {
    bytes_.resize(512);
    bytes_.replace(0, 4, "\x5A\x35\x77\xA5");
  }
  PlayListBytes& Mode(int mode) {
    bytes_[8] = static_cast<char>(mode);
    return *this;
  }
  // A slot's clips (a prefix of up to four), repeat count and alarm output, its clip count
  // as a save writes it.
  PlayListBytes& Slot(int slot, const std::vector<int>& clips, int repeat = 1, bool alarm = false) {
    bytes_[32 + slot] = static_cast<char>(clips.empty() ? 1 : clips.size());
    bytes_[96 + slot] = static_cast<char>(repeat);
    bytes_[160 + slot] = alarm ? 1 : 0;
    for (std::size_t k = 0; k < 4; ++k) {
      bytes_[256 + 4 * slot + k] = static_cast<char>(k < clips.size() ? clips[k] : 0);
    }
    return *this;
  }
  // As a save writes the image: the 32 slots of the window each store a clip count.
  PlayListBytes& Saved() {
    for (int s = 0; s < 32; ++s) {
      if (bytes_[32 + s] == 0) bytes_[32 + s] = 1;
    }
    return *this;
  }
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// m3fn.txt with the given source paths by clip number and every other line empty.
inline std::string NameMapBytes(const std::vector<std::pair<int, std::string>>& clips) {
  std::vector<std::string> lines(64);
  for (const auto& [number, path] : clips) lines[static_cast<std::size_t>(number - 1)] = path;
  std::string bytes = "\xEF\xBB\xBF";
  for (const auto& line : lines) bytes += line + "\r\n";
  return bytes;
}

}  // namespace pwx::testing
