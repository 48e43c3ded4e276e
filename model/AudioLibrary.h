#pragma once

#include <array>
#include <string>
#include <string_view>

namespace pwx {

inline constexpr int kLibrarySize = 64;  // clip numbers 1..64, one per audio grid row

// One numbered clip: the source path as the file dialog gave it, and the name shown in
// the grid. The entry is occupied exactly when the shown name is not empty.
struct AudioEntry {
  std::string Full_FN;
  std::string Short_FN;

  bool Occupied() const { return !Short_FN.empty(); }
  bool operator==(const AudioEntry&) const = default;
};

// The fixed table of 64 clips; numbers are never assigned, renumbered or closed up.
class AudioLibrary {
 public:
  // Entry by clip number 1..64.
  AudioEntry& Entry(int number) { return entries_.at(static_cast<std::size_t>(number - 1)); }
  const AudioEntry& Entry(int number) const {
    return entries_.at(static_cast<std::size_t>(number - 1));
  }
  void Clear() { entries_ = {}; }
  bool operator==(const AudioLibrary&) const = default;

 private:
  std::array<AudioEntry, kLibrarySize> entries_{};
};

// The name a clip is listed under: the file-name part of the path (after the last "/" or
// "\", or after a leading drive "X:" when there is no separator) without its last extension.
std::string ShortNameOf(std::string_view fullPath);

}  // namespace pwx
