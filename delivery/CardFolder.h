#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pwx {

// The family of a card's file system, as far as the copy cares.
enum class CardFormat {
  Fat,    // FAT12, FAT16 or FAT32: what the player reads
  ExFat,  // what large cards come with; the player may not read it
  Other,  // any other file system (a folder on a disk)
};

// What the copy needs to know of the folder it writes into.
struct CardFolderFacts {
  std::string FileSystem;  // as the system names it: "vfat", "exfat", "ext4"; empty if unknown
  CardFormat Format = CardFormat::Other;
  bool IgnoresCase = false;      // "001.MP3" is the same entry as "001.mp3"
  std::uint64_t UnitBytes = 1;   // the allocation unit: a file takes whole units
  std::uint64_t TotalBytes = 0;  // of the volume
  std::uint64_t FreeBytes = 0;   // for this user
  // Entries the folder holds at most, when it is the fixed root folder of FAT12 or FAT16;
  // nothing when the folder grows as it needs (in units taken from the free room).
  std::optional<int> FixedEntries;
  std::uint64_t Device = 0;  // of the folder, to tell one card from another
};

// "FAT16", "FAT32", "exFAT", "ext4": the file system for people.
std::string FileSystemText(const CardFolderFacts& facts);

// "FAT32, 7.9 GB, 7.1 GB free, clusters of 32,768 bytes": a card's file system and room.
std::string CardFolderText(const CardFolderFacts& card);

// Looks at a folder without writing anything into it: its file system, room and unit, and
// whether names there ignore case. Whether they do is seen from what the folder does with an
// entry of `names` (its listing) spelled in the other case, else from the file system.
CardFolderFacts ExamineCardFolder(const std::string& folder, const std::vector<std::string>& names);

// Whether two names are one entry on the card.
bool SameCardName(std::string_view a, std::string_view b, bool ignoresCase);

// The format of a file system named as in /proc/self/mountinfo ("vfat", "fuse.fusefat").
CardFormat FormatOf(const std::string& fileSystem);

// One line of /proc/self/mountinfo: the device, where it is mounted, its type and source.
struct MountEntry {
  std::uint64_t Major = 0;
  std::uint64_t Minor = 0;
  std::string MountPoint;
  std::string Type;
  std::string Source;
};

// The lines of a mountinfo text; lines that do not parse are left out. "\040" and the other
// octal escapes of names are undone.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// The directory entries of 32 bytes that a name takes on a FAT card (a short entry, and
// long-name entries of 13 characters each unless it is a plain upper-case 8.3 name) or on an
// exFAT card (a file and a stream entry and one entry per 15 characters); 1 elsewhere.
int DirectoryEntriesFor(std::string_view name, CardFormat format);

}  // namespace pwx
