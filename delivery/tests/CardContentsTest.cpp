// What stands on a card beside the player's files, how names compare there, and the room a
// copy takes in the card's units.
#include <gtest/gtest.h>

#include "common/tests/TempFolder.h"
#include "delivery/CardDeploy.h"
#include "delivery/CardRoom.h"
#include "delivery/tests/CardTestProject.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;
using testing::WriteFile;

std::vector<std::string> Names(const std::vector<CardEntry>& entries) {
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.Name + (entry.Folder ? "/" : ""));
  return names;
}

CardFolderFacts FatFacts(bool ignoresCase = true) {
  CardFolderFacts facts;
  facts.FileSystem = "vfat";
  facts.Format = CardFormat::Fat;
  facts.IgnoresCase = ignoresCase;
  facts.UnitBytes = 4096;
  facts.TotalBytes = 8'000'000'000;
  facts.FreeBytes = 7'000'000'000;
  return facts;
}

class CardContents : public ::testing::Test {
 public:
  DeployPlan Plan(std::optional<CardFolderFacts> facts = {}) {
    PlanOptions options;
    if (facts) {
      options.Examine = [facts](const std::string&, const std::vector<std::string>&) {
        return *facts;
      };
    }
    return PlanDeploy(project.Snapshot(), card, options);
  }
  testing::TempFolder dir;
  testing::CardTestProject project{dir.Path(), dir / "P"};
  std::string card = dir / "card";
};

// Whatever else is on the card is listed; the copy removes what an interrupted copy left, and
// deletes the files other systems left only when asked, never a folder.
TEST_F(CardContents, WhatElseIsOnTheCardIsListedAndOnlyClutterFilesAreDeletedWhenAsked) {
  fs::create_directories(card + "/.Trashes/501");
  fs::create_directories(card + "/System Volume Information");
  fs::create_directories(card + "/DCIM");
  for (const char* name : {"._001.mp3", ".DS_Store", ".Trashes/501/old.mp3", "notes.txt", "017.mp3",
                           ".001.mp3-AbCdEf123456.saving"}) {
    WriteFile(card + "/" + name, "x");
  }
  fs::create_directory_symlink(dir / "P", card + "/.fseventsd");
  const DeployPlan plan = Plan();
  EXPECT_EQ(Names(plan.Stale), std::vector<std::string>{"017.mp3"});
  EXPECT_EQ(Names(plan.Clutter),
            (std::vector<std::string>{".DS_Store", ".Trashes/", "._001.mp3", ".fseventsd",
                                      "System Volume Information/"}));
  EXPECT_EQ(Names(plan.Others), (std::vector<std::string>{"DCIM/", "notes.txt"}));
  EXPECT_EQ(Names(plan.Leftovers), std::vector<std::string>{".001.mp3-AbCdEf123456.saving"});

  const DeployResult kept = DeployToCard(plan);
  ASSERT_TRUE(kept.Succeeded()) << kept.Summary();
  EXPECT_EQ(kept.Leftovers, std::vector<std::string>{".001.mp3-AbCdEf123456.saving"});
  EXPECT_TRUE(fs::exists(card + "/._001.mp3"));

  DeployOptions deleting;
  deleting.DeleteStale = true;
  const DeployResult deleted = DeployToCard(Plan(), deleting);
  EXPECT_EQ(deleted.Deleted, (std::vector<std::string>{"017.mp3", ".DS_Store", "._001.mp3"}));
  for (const char* kept :
       {".Trashes/501/old.mp3", "System Volume Information", "DCIM", "notes.txt", ".fseventsd"}) {
    EXPECT_TRUE(fs::exists(card + "/" + kept)) << kept;
  }
  EXPECT_TRUE(fs::exists(dir / "P/plist.cfg"));  // the link's target is the project
}

// On a card that ignores case, a player's file spelled otherwise is that file: replaced, never
// stale. Where case counts it is another file, kept.
TEST_F(CardContents, NamesCompareAsTheCardComparesThem) {
  fs::create_directory(card);
  WriteFile(card + "/001.MP3", "an older recording");
  WriteFile(card + "/Plist.CFG", "an older play list");
  for (const bool ignoresCase : {true, false}) {
    const DeployPlan plan = Plan(FatFacts(ignoresCase));
    EXPECT_TRUE(plan.Stale.empty()) << plan.Stale[0].Name;
    EXPECT_EQ(plan.Files[0].OnCard, ignoresCase);
    if (ignoresCase) {
      EXPECT_EQ(plan.Files[0].CardName, "001.MP3");
      EXPECT_EQ(plan.Files.back().CardName, "Plist.CFG");
      EXPECT_TRUE(plan.Others.empty());
    } else {
      EXPECT_EQ(Names(plan.Others), (std::vector<std::string>{"001.MP3", "Plist.CFG"}));
    }
  }
}

TEST_F(CardContents, AFolderWhereAPlayersFileGoesRefusesTheCopy) {
  fs::create_directories(card + "/PLIST.CFG");
  const DeployPlan plan = Plan(FatFacts());
  ASSERT_TRUE(plan.Refusal);
  EXPECT_NE(plan.Refusal->find("PLIST.CFG stands where a player's file goes"), std::string::npos)
      << *plan.Refusal;
}

TEST_F(CardContents, TheFixedRootFolderOfFat16HasRoomForSoManyEntries) {
  fs::create_directory(card);
  for (int i = 0; i < 20; ++i) WriteFile(card + "/photo " + std::to_string(i) + ".jpg", "x");
  CardFolderFacts facts = FatFacts();
  facts.FixedEntries = 60;
  const DeployPlan plan = Plan(facts);
  ASSERT_TRUE(plan.Refusal);
  EXPECT_EQ(plan.EntriesInUse, 1 + 20 * 2);
  EXPECT_NE(plan.Refusal->find("holds 60 entries at most (FAT32)"), std::string::npos)
      << *plan.Refusal;
  facts.FixedEntries = 512;
  EXPECT_FALSE(Plan(facts).Refusal);
}

TEST_F(CardContents, ACardThePlayerMayNotReadIsAWarning) {
  fs::create_directory(card);
  CardFolderFacts facts = FatFacts();
  EXPECT_FALSE(Plan(facts).Warning);
  facts.Format = CardFormat::ExFat;
  const DeployPlan plan = Plan(facts);
  ASSERT_TRUE(plan.Warning);
  EXPECT_EQ(*plan.Warning,
            "The card is formatted exFAT: the player reads FAT cards (FAT16 or FAT32) and may not "
            "read this one.");
  EXPECT_FALSE(plan.Refusal);
}

struct RoomCase {
  const char* name;
  std::vector<RoomItem> written;
  CardFormat format;
  bool fixedRoot;
  std::uint64_t bytes;
  int entries;
};

void PrintTo(const RoomCase& c, std::ostream* os) {
  *os << c.name;
}

class CardRoom : public ::testing::TestWithParam<RoomCase> {};

TEST_P(CardRoom, IsCountedInUnitsAndEntries) {
  CardFolderFacts card;
  card.Format = GetParam().format;
  card.UnitBytes = 4096;
  if (GetParam().fixedRoot) card.FixedEntries = 512;
  const RoomNeeded needed = RoomForCopy(GetParam().written, card);
  EXPECT_EQ(needed.Bytes, GetParam().bytes);
  EXPECT_EQ(needed.Entries, GetParam().entries);
}

// "001.mp3" takes 2 entries on FAT, its temporary (28 characters) 4, "VOL.CFG" 1.
INSTANTIATE_TEST_SUITE_P(Table, CardRoom,
                         ::testing::Values(RoomCase{"SmallFilesTakeAUnitEach",
                                                    {{"a", 1, {}}, {"b", 1, {}}, {"c", 4097, {}}},
                                                    CardFormat::Other,
                                                    false,
                                                    4 * 4096,
                                                    0},
                                           RoomCase{"AReplacedFileIsFreedByItsRename",
                                                    {{"a", 8192, 8192}, {"b", 8192, 8192}},
                                                    CardFormat::Other,
                                                    false,
                                                    8192,
                                                    0},
                                           RoomCase{"AFileThatShrinksLeavesRoomForTheNext",
                                                    {{"a", 4096, 3 * 4096}, {"b", 3 * 4096, {}}},
                                                    CardFormat::Other,
                                                    false,
                                                    4096,
                                                    0},
                                           RoomCase{"NewNamesTakeEntriesAndTheFolderGrows",
                                                    {{"001.mp3", 4096, {}}, {"VOL.CFG", 1, {}}},
                                                    CardFormat::Fat,
                                                    false,
                                                    3 * 4096,
                                                    2 + 1 + 4},
                                           RoomCase{
                                               "AFixedRootTakesNoUnitsForEntries",
                                               {{"001.mp3", 4096, {}}, {"002.mp3", 4096, 4096}},
                                               CardFormat::Fat,
                                               true,
                                               2 * 4096,
                                               2 + 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CardNames, EntriesOfANameOnFatAndExFat) {
  EXPECT_EQ(DirectoryEntriesFor("001.MP3", CardFormat::Fat), 1);
  EXPECT_EQ(DirectoryEntriesFor("001.mp3", CardFormat::Fat), 2);
  EXPECT_EQ(DirectoryEntriesFor("Err1.mp3", CardFormat::Fat), 2);
  EXPECT_EQ(DirectoryEntriesFor("System Volume Information", CardFormat::Fat), 3);
  EXPECT_EQ(DirectoryEntriesFor("Grüße aus 😀.mp3", CardFormat::Fat), 1 + 2);  // 17 UTF-16 units
  EXPECT_EQ(DirectoryEntriesFor("001.mp3", CardFormat::ExFat), 3);
  EXPECT_EQ(DirectoryEntriesFor("001.mp3", CardFormat::Other), 1);
}

TEST(CardNames, ClutterOfOtherSystems) {
  for (const char* name :
       {"._001.mp3", ".DS_Store", ".Trashes", ".fseventsd", ".Spotlight-V100",
        "System Volume Information", "$RECYCLE.BIN", ".Trash-1000", "Thumbs.db"}) {
    EXPECT_TRUE(IsLeftByOtherSystems(name, false)) << name;
  }
  EXPECT_TRUE(IsLeftByOtherSystems("SYSTEM VOLUME INFORMATION", true));
  EXPECT_FALSE(IsLeftByOtherSystems("SYSTEM VOLUME INFORMATION", false));
  for (const char* name : {"._", ".Trash-", ".Trash-me", "notes.txt", "001.mp3", ".hidden"}) {
    EXPECT_FALSE(IsLeftByOtherSystems(name, true)) << name;
  }
}

TEST(CardNames, MountInfoLines) {
  const auto mounts = ParseMountInfo(
      "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
      "45 27 8:17 / /media/Karte\\040Gr\\303\\274n rw,nosuid shared:5 - vfat /dev/sdb1 rw\n"
      "46 27 8:17 /DCIM /mnt/photos rw - vfat /dev/sdb1 rw\n"
      "broken line\n");
  ASSERT_EQ(mounts.size(), 3u);
  EXPECT_EQ(mounts[1].MountPoint, "/media/Karte Grün");
  EXPECT_EQ(mounts[1].Type, "vfat");
  EXPECT_EQ(mounts[1].Major, 8u);
  EXPECT_EQ(mounts[1].Minor, 17u);
  EXPECT_EQ(mounts[2].MountPoint, "");  // a folder of the volume, not its root
  EXPECT_EQ(FormatOf("fuse.fusefat"), CardFormat::Fat);
  EXPECT_EQ(FormatOf("exfat"), CardFormat::ExFat);
  EXPECT_EQ(FormatOf("ext4"), CardFormat::Other);
}

}  // namespace
}  // namespace pwx
