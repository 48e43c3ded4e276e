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
    if (CardFileSystem(volume.FileSystem) || RemovablePlace(volume.Root)) cards.push_back(volume);
  }
  // A card's own file system first, then by where it is mounted.
  std::stable_sort(cards.begin(), cards.end(), [](const Volume& a, const Volume& b) {
    return CardFileSystem(a.FileSystem) > CardFileSystem(b.FileSystem);
  });
  return cards;
}

std::string VolumeText(const Volume& volume) {
  const std::string name =
      volume.Name.empty() ? volume.Root : volume.Name + " (" + volume.Root + ")";
  return name + ": " + SizeText(volume.Total) + ", " + SizeText(volume.Free) + " free";
}

}  // namespace pwx
