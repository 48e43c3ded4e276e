#pragma once

#include <cstdint>
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
};

// The volumes that may be a player's card, the likeliest first: writable, not the system's
// own (the root, /boot), and either of a file system cards come with (FAT, exFAT) or mounted where
// removable media go (/media, /run/media, /mnt, /Volumes).
std::vector<Volume> CardCandidates(const std::vector<Volume>& mounted);

// "CARD (/media/card): 7.9 GB, 7.1 GB free".
std::string VolumeText(const Volume& volume);

}  // namespace pwx
