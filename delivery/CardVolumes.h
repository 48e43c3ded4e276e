#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pwx {

// A mounted volume as the system reports it.
struct Volume {
  std::string Root;        // where it is mounted
  std::string Device;      // "/dev/sdb1", "/dev/mmcblk0p1"
  std::string FileSystem;  // "vfat", "exfat", "ext4"
  std::string Name;        // its label, may be empty
  std::uint64_t Total = 0;
  std::uint64_t Free = 0;
  bool ReadOnly = false;
  // Whether the system's disk service knows it for removable media (a card, a stick);
  // unknown where no such service answers.
  std::optional<bool> Removable;
};

// A block device with a file system as the disk service (UDisks2) describes it.
struct DiskBlock {
  std::string Object;      // the service's name for it
  std::string Device;      // "/dev/sdb1"
  std::string Label;       // the file system's label
  std::string FileSystem;  // "vfat", "exfat"
  std::uint64_t Size = 0;
  std::string Drive;  // the drive it is on, or empty
  bool HintIgnore = false;
  bool HintSystem = false;
  bool ReadOnly = false;
  std::vector<std::string> MountPoints;
};

// A drive as the disk service describes it.
struct DiskDrive {
  std::string Object;
  bool Removable = false;
  bool MediaRemovable = false;
  bool Ejectable = false;
  bool CanPowerOff = false;
};

// A card the disk service knows: its block, its drive and where it is mounted (empty when
// it is not).
struct KnownCard {
  DiskBlock Block;
  DiskDrive Drive;
  std::string Root;
};

// The file systems on removable drives (the drive's Removable or MediaRemovable), that the
// service neither hides nor counts as the system's, mounted or not, in the service's order.
std::vector<KnownCard> RemovableCards(const std::vector<DiskBlock>& blocks,
                                      const std::vector<DiskDrive>& drives);

// The mounted volumes, each marked removable or not where the disk service knows its device
// or where it is mounted.
std::vector<Volume> WithRemovableFlags(std::vector<Volume> mounted,
                                       const std::vector<DiskBlock>& blocks,
                                       const std::vector<DiskDrive>& drives);

// The volumes that may be a player's card, the likeliest first: writable, not the system's
// own (the root, /boot), and, where the disk service says whether it is removable, removable;
// elsewhere either of a file system cards come with (FAT, exFAT) or mounted where removable
// media go (/media, /run/media, /mnt, /Volumes).
std::vector<Volume> CardCandidates(const std::vector<Volume>& mounted);

// "CARD (/media/card): 7.9 GB, 7.1 GB free".
std::string VolumeText(const Volume& volume);

}  // namespace pwx
