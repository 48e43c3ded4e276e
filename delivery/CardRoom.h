#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "delivery/CardFolder.h"

namespace pwx {

// The room a file takes on a card: its bytes in whole allocation units.
std::uint64_t AllocatedBytes(std::uint64_t bytes, std::uint64_t unit);

// A file the copy writes, and the size of the one it replaces.
struct RoomItem {
  std::string Name;
  std::uint64_t Bytes = 0;
  std::optional<std::uint64_t> Replaces;
};

struct RoomNeeded {
  std::uint64_t Bytes = 0;  // free room, in whole units, at the fullest moment of the copy
  int Entries = 0;          // directory entries more than now, at that moment
};

// What the copy of `written` (in this order) needs. Each file is written under a temporary
// name beside the one it replaces, whose units are freed only by the rename. On FAT and
// exFAT every new name takes directory entries (a long name several), and a folder that
// grows takes whole units for them.
RoomNeeded RoomForCopy(const std::vector<RoomItem>& written, const CardFolderFacts& card);

// "._001.mp3", ".DS_Store", ".Trashes", ".fseventsd", ".Spotlight-V100", "System Volume
// Information", "$RECYCLE.BIN", ".Trash-1000", "Thumbs.db": what other systems leave on a
// card, as the card compares names.
bool IsLeftByOtherSystems(std::string_view name, bool ignoresCase);

// The clip number of "NNN.mp3" (the extension in any case), or nothing.
std::optional<int> NumberedClipOf(std::string_view name);

}  // namespace pwx
