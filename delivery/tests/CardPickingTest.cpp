// Which volumes are offered as the player's card when the disk service tells which drives
// are removable.
#include <gtest/gtest.h>

#include "delivery/CardVolumes.h"

namespace pwx {
namespace {

std::vector<DiskDrive> Drives() {
  return {{"/drives/reader", false, true, true, true},
          {"/drives/stick", true, false, true, true},
          {"/drives/ssd", false, false, false, false}};
}

std::vector<DiskBlock> Blocks() {
  return {
      {"/block/mmcblk0p1",
       "/dev/mmcblk0p1",
       "CARD",
       "vfat",
       8'000'000'000,
       "/drives/reader",
       false,
       false,
       false,
       {"/media/u/CARD"}},
      {"/block/sdb1",
       "/dev/sdb1",
       "STICK",
       "ext4",
       16'000'000'000,
       "/drives/stick",
       false,
       false,
       false,
       {"/run/media/u/STICK"}},
      {"/block/sdc1",
       "/dev/sdc1",
       "NEW",
       "vfat",
       2'000'000'000,
       "/drives/stick",
       false,
       false,
       false,
       {}},
      {"/block/nvme0n1p2",
       "/dev/nvme0n1p2",
       "",
       "ext4",
       500'000'000'000,
       "/drives/ssd",
       false,
       true,
       false,
       {"/"}},
      {"/block/nvme0n1p3",
       "/dev/nvme0n1p3",
       "data",
       "vfat",
       100'000'000'000,
       "/drives/ssd",
       false,
       false,
       false,
       {"/mnt/data"}},
      {"/block/sdd1",
       "/dev/sdd1",
       "HIDDEN",
       "vfat",
       1'000'000,
       "/drives/stick",
       true,
       false,
       false,
       {"/media/u/HIDDEN"}},
  };
}

TEST(CardPicking, TheServiceNamesTheFileSystemsOnRemovableDrives) {
  std::vector<std::string> seen;
  for (const KnownCard& card : RemovableCards(Blocks(), Drives())) {
    seen.push_back(card.Block.Label + "@" + card.Root);
  }
  EXPECT_EQ(seen,
            (std::vector<std::string>{"CARD@/media/u/CARD", "STICK@/run/media/u/STICK", "NEW@"}));
}

TEST(CardPicking, ARemovableFlagOverridesTheMountPointRule) {
  const std::vector<Volume> mounted = {
      {"/", "/dev/nvme0n1p2", "ext4", "", 100, 50, false, {}},
      {"/media/u/CARD", "/dev/mmcblk0p1", "vfat", "", 8'000'000'000, 7'000'000'000, false, {}},
      {"/run/media/u/STICK", "/dev/sdb1", "ext4", "", 100, 50, false, {}},
      // A FAT partition of the internal disk under /mnt: the old rule would offer it.
      {"/mnt/data", "/dev/nvme0n1p3", "vfat", "data", 100, 50, false, {}},
      // What the service does not know (an image through fusefat) keeps the old rule.
      {"/tmp/card", "fusefat", "fuse.fusefat", "", 100, 50, false, {}},
  };
  const auto marked = WithRemovableFlags(mounted, Blocks(), Drives());
  EXPECT_EQ(marked[1].Removable, true);
  EXPECT_EQ(marked[1].Name, "CARD");
  EXPECT_EQ(marked[3].Removable, false);
  EXPECT_EQ(marked[4].Removable, std::nullopt);
  std::vector<std::string> roots;
  for (const Volume& v : CardCandidates(marked)) roots.push_back(v.Root);
  EXPECT_EQ(roots, (std::vector<std::string>{"/media/u/CARD", "/tmp/card", "/run/media/u/STICK"}));
}

}  // namespace
}  // namespace pwx
