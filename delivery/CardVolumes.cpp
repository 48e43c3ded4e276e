#include "delivery/CardVolumes.h"

#include <algorithm>

#include "common/MessageText.h"

namespace pwx {

namespace {

bool StartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

bool CardFileSystem(const std::string& type) {
  for (const char* card : {"vfat", "msdos", "fat", "fat32", "exfat", "FAT", "FAT32", "exFAT",
                           "fuse.fusefat", "fuse.exfat"}) {
    if (type == card) return true;
  }
  return false;
}

bool RemovablePlace(const std::string& root) {
  for (const char* place : {"/media/", "/run/media/", "/mnt/", "/Volumes/"}) {
    if (StartsWith(root, place)) return true;
  }
  return false;
}

}  // namespace

std::vector<Volume> CardCandidates(const std::vector<Volume>& mounted) {
  std::vector<Volume> cards;
  for (const Volume& volume : mounted) {
    // The system's own volumes are never offered, whatever their file system.
    if (volume.ReadOnly || volume.Root == "/" || volume.Total == 0 ||
        StartsWith(volume.Root, "/boot")) {
      continue;
    }
    const bool likely = volume.Removable
                            ? *volume.Removable
                            : CardFileSystem(volume.FileSystem) || RemovablePlace(volume.Root);
    if (likely) cards.push_back(volume);
  }
  // A card's own file system first, then by where it is mounted.
  std::stable_sort(cards.begin(), cards.end(), [](const Volume& a, const Volume& b) {
    return CardFileSystem(a.FileSystem) > CardFileSystem(b.FileSystem);
  });
  return cards;
}

std::vector<KnownCard> RemovableCards(const std::vector<DiskBlock>& blocks,
                                      const std::vector<DiskDrive>& drives) {
  std::vector<KnownCard> cards;
  for (const DiskBlock& block : blocks) {
    if (block.HintIgnore || block.HintSystem || block.Drive.empty()) continue;
    const auto drive = std::find_if(drives.begin(), drives.end(), [&block](const DiskDrive& d) {
      return d.Object == block.Drive;
    });
    if (drive == drives.end() || !(drive->Removable || drive->MediaRemovable)) continue;
    cards.push_back({block, *drive, block.MountPoints.empty() ? "" : block.MountPoints.front()});
  }
  return cards;
}

std::vector<Volume> WithRemovableFlags(std::vector<Volume> mounted,
                                       const std::vector<DiskBlock>& blocks,
                                       const std::vector<DiskDrive>& drives) {
  const std::vector<KnownCard> cards = RemovableCards(blocks, drives);
  for (Volume& volume : mounted) {
    const auto known = [&volume](const DiskBlock& block) {
      return (!volume.Device.empty() && block.Device == volume.Device) ||
             std::find(block.MountPoints.begin(), block.MountPoints.end(), volume.Root) !=
                 block.MountPoints.end();
    };
    if (std::none_of(blocks.begin(), blocks.end(), known)) continue;
    volume.Removable = std::any_of(cards.begin(), cards.end(),
                                   [&known](const KnownCard& card) { return known(card.Block); });
    for (const KnownCard& card : cards) {
      if (known(card.Block) && volume.Name.empty()) volume.Name = card.Block.Label;
    }
  }
  return mounted;
}

std::string VolumeText(const Volume& volume) {
  const std::string name =
      volume.Name.empty() ? volume.Root : volume.Name + " (" + volume.Root + ")";
  return name + ": " + SizeText(volume.Total) + ", " + SizeText(volume.Free) + " free";
}

}  // namespace pwx
