#include "delivery/CardRoom.h"

#include <algorithm>

#include "audio/ClipFiles.h"

namespace pwx {

namespace {

constexpr std::uint64_t kEntryBytes = 32;
// What a temporary beside a file adds to its name: "." before, "-" + 12 characters +
// ".saving" after.
constexpr std::size_t kTemporaryNameExtra = 1 + 1 + 12 + 7;

bool StartsWith(std::string_view text, std::string_view start, bool ignoresCase) {
  return text.size() >= start.size() &&
         SameCardName(text.substr(0, start.size()), start, ignoresCase);
}

}  // namespace

std::uint64_t AllocatedBytes(std::uint64_t bytes, std::uint64_t unit) {
  unit = std::max<std::uint64_t>(unit, 1);
  return (bytes + unit - 1) / unit * unit;
}

RoomNeeded RoomForCopy(const std::vector<RoomItem>& written, const CardFolderFacts& card) {
  const std::uint64_t unit = card.UnitBytes;
  std::int64_t growth = 0;
  std::int64_t peak = 0;
  int newEntries = 0;  // of the names added for good
  int mostAtOnce = 0;  // the largest temporary's, while it stands beside the others
  for (const RoomItem& item : written) {
    const auto bytes = static_cast<std::int64_t>(AllocatedBytes(item.Bytes, unit));
    peak = std::max(peak, growth + bytes);
    growth += bytes - static_cast<std::int64_t>(AllocatedBytes(item.Replaces.value_or(0), unit));
    // A temporary's entries are freed by its rename and taken again by the next.
    const std::string temporary(item.Name.size() + kTemporaryNameExtra, 'x');
    mostAtOnce = std::max(mostAtOnce, DirectoryEntriesFor(temporary, card.Format));
    if (!item.Replaces) newEntries += DirectoryEntriesFor(item.Name, card.Format);
  }
  RoomNeeded needed;
  needed.Entries = card.Format == CardFormat::Other ? 0 : newEntries + mostAtOnce;
  needed.Bytes = static_cast<std::uint64_t>(std::max<std::int64_t>(peak, 0));
  // A folder that grows takes whole units for its new entries; counted as if its last unit
  // were full already.
  if (!card.FixedEntries && needed.Entries > 0) {
    needed.Bytes += AllocatedBytes(static_cast<std::uint64_t>(needed.Entries) * kEntryBytes, unit);
  }
  return needed;
}

bool IsLeftByOtherSystems(std::string_view name, bool ignoresCase) {
  if (name.size() > 2 && name.substr(0, 2) == "._") return true;  // a resource fork
  for (const char* left :
       {".DS_Store", ".Trashes", ".fseventsd", ".Spotlight-V100", ".TemporaryItems",
        "System Volume Information", "$RECYCLE.BIN", "Thumbs.db"}) {
    if (SameCardName(name, left, ignoresCase)) return true;
  }
  // A desktop's trash folder for one user: ".Trash-1000".
  if (StartsWith(name, ".Trash-", ignoresCase) && name.size() > 7) {
    return std::all_of(name.begin() + 7, name.end(), [](char c) { return c >= '0' && c <= '9'; });
  }
  return false;
}

std::optional<int> NumberedClipOf(std::string_view name) {
  if (name.size() != 7 || name[3] != '.' || !IsMp3FileName(std::string(name))) return std::nullopt;
  int number = 0;
  for (int i = 0; i < 3; ++i) {
    const char c = name[static_cast<std::size_t>(i)];
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  return number;
}

}  // namespace pwx
