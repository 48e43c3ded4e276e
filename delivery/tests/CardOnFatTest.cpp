// Copying a project to a real FAT card: names that ignore case, whole clusters, two-second
// file times and stamps that keep no change time.
#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "common/MessageText.h"
#include "delivery/CardCommands.h"
#include "delivery/CardDeploy.h"
#include "delivery/CardRoom.h"
#include "delivery/tests/CardTestProject.h"
#include "delivery/tests/FatCard.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;
using testing::FatCard;
using testing::ReadWhole;
using testing::WriteFile;

#define SKIP_WITHOUT(card) \
  if (!(card).Mounted()) GTEST_SKIP() << "skipped: " << (card).WhyNot()

class CardOnFat : public ::testing::Test {
 public:
  CommandExit Deploy(const std::string& card, bool deleteStale, std::string* printed = nullptr) {
    std::ostringstream out, err;
    CardCommandRequest request;
    request.Folder = dir / "P";
    request.Destination = card;
    request.StartFolder = dir.Path();
    request.HashStore = dir / "hashes";
    request.DeleteStale = deleteStale;
    const CommandExit exit = DeployCommand(request, out, err);
    if (printed) *printed = out.str() + err.str();
    return exit;
  }
  // The player's files on the card, as the card spells them, in upper case.
  std::map<std::string, std::string> UpperCaseNames(const std::string& card) {
    std::map<std::string, std::string> files;
    for (const auto& [name, bytes] : testing::FilesIn(card)) {
      std::string upper = name;
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      files[upper] = bytes;
    }
    return files;
  }

  testing::TempFolder dir;
  testing::CardTestProject project{dir.Path(), dir / "P"};
};

TEST_F(CardOnFat, IsSeenForWhatItIs) {
  FatCard card({64, 16, 4});
  SKIP_WITHOUT(card);
  WriteFile(card / "Notes.TXT", "x");
  const CardFolderFacts facts = ExamineCardFolder(card.Path(), {"Notes.TXT"});
  EXPECT_EQ(facts.Format, CardFormat::Fat) << facts.FileSystem;
  EXPECT_TRUE(facts.IgnoresCase);
  EXPECT_EQ(facts.UnitBytes, 2048u);  // four sectors of 512 bytes
  EXPECT_EQ(FileSystemText(facts), "FAT16");
  EXPECT_EQ(facts.FixedEntries, 512);
  // Without a name to try, the file system decides.
  EXPECT_TRUE(ExamineCardFolder(card.Path(), {}).IgnoresCase);
}

// The card holds the clips and settings as another system spelled them: each is the player's
// file, replaced; none is deleted as stale after it was written.
TEST_F(CardOnFat, NamesInAnotherCaseAreThePlayersFilesAndStayAfterTheCopy) {
  FatCard card;
  SKIP_WITHOUT(card);
  WriteFile(card / "001.MP3", "an older recording");
  WriteFile(card / "PLIST.CFG", "an older play list");
  WriteFile(card / "017.MP3", "a clip the project does not use");
  std::string printed;
  ASSERT_EQ(Deploy(card.Path(), true, &printed), CommandExit::Success) << printed;
  EXPECT_NE(printed.find("Card verified: 8 files"), std::string::npos) << printed;
  std::map<std::string, std::string> expected;
  for (const auto& [name, bytes] : project.files) {
    if (name.find(".mp3") != std::string::npos || name.find(".cfg") != std::string::npos ||
        name == "m3fn.txt") {
      std::string upper = name;
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      expected[upper] = bytes;
    }
  }
  const auto onCard = UpperCaseNames(card.Path());
  std::vector<std::string> names, expectedNames;
  for (const auto& [name, bytes] : onCard) {
    names.push_back(name);
    EXPECT_TRUE(expected.count(name) && expected.at(name) == bytes) << name << " differs";
  }
  for (const auto& [name, bytes] : expected) expectedNames.push_back(name);
  EXPECT_EQ(names, expectedNames);  // 017.MP3 deleted, nothing else
}

// On a card whose file times have two-second steps and no change time, a file rewritten in
// place to the same size keeps its stamp: the copy reads it again instead of trusting what
// it remembers.
TEST_F(CardOnFat, AFileEditedInPlaceIsFoundChangedWhateverItsStamp) {
  FatCard card;
  SKIP_WITHOUT(card);
  ASSERT_EQ(Deploy(card.Path(), false), CommandExit::Success);
  std::this_thread::sleep_for(std::chrono::milliseconds(2100));  // past the card's tick
  std::string printed;
  ASSERT_EQ(Deploy(card.Path(), false, &printed), CommandExit::Success);
  EXPECT_NE(printed.find("Plan: 0 files to write"), std::string::npos) << printed;
  EXPECT_NE(printed.find("Card verified: 8 files"), std::string::npos) << printed;

  const fs::file_time_type before = fs::last_write_time(card / "002.mp3");
  std::string bytes = ReadWhole(card / "002.mp3");
  bytes[bytes.size() / 2] ^= 0x55;
  {
    std::fstream edit(card / "002.mp3", std::ios::in | std::ios::out | std::ios::binary);
    edit.seekp(static_cast<std::streamoff>(bytes.size() / 2));
    edit.put(bytes[bytes.size() / 2]);
  }
  std::error_code ignored;
  fs::last_write_time(card / "002.mp3", before, ignored);
  ASSERT_EQ(Deploy(card.Path(), false, &printed), CommandExit::Success) << printed;
  EXPECT_NE(printed.find("Plan: 1 files to write"), std::string::npos) << printed;
  EXPECT_EQ(ReadWhole(card / "002.mp3"), project.files.at("002.mp3"));
}

// Each small settings file takes a whole cluster: a card with room for the bytes but not for
// the clusters is refused before anything is written, and a plan that fits, fits.
TEST_F(CardOnFat, RoomIsCountedInClusters) {
  for (const std::uint64_t slack : {0u, 1u, 3u, 6u, 12u}) {
    FatCard card({8, 12, 32});  // clusters of 16 kB
    SKIP_WITHOUT(card);
    const CardFolderFacts facts = ExamineCardFolder(card.Path(), {});
    ASSERT_EQ(facts.UnitBytes, 16384u);
    ASSERT_EQ(FileSystemText(facts), "FAT12");
    std::uint64_t bytes = 0;
    for (const auto& [name, content] : project.files) bytes += content.size();
    // A filler leaves room for the bytes and a few clusters more.
    const std::uint64_t leave = AllocatedBytes(bytes, facts.UnitBytes) + slack * facts.UnitBytes;
    ASSERT_GT(facts.FreeBytes, leave);
    WriteFile(card / "FILLER.BIN", std::string(facts.FreeBytes - leave, '\0'));
    ASSERT_EQ(ExamineCardFolder(card.Path(), {}).FreeBytes, leave);
    PlanOptions options;
    const DeployPlan plan = PlanDeploy(project.Snapshot(), card.Path(), options);
    EXPECT_EQ(plan.NeededBytes % facts.UnitBytes, 0u);
    const DeployResult result = plan.Refusal ? DeployResult{} : DeployToCard(plan, DeployOptions{});
    if (plan.Refusal) {
      EXPECT_NE(plan.Refusal->find("too little room"), std::string::npos) << *plan.Refusal;
      EXPECT_FALSE(fs::exists(card / "plist.cfg"));
    } else {
      EXPECT_TRUE(result.Succeeded()) << "slack " << slack << ": " << result.Summary();
    }
    if (slack == 0) {
      EXPECT_TRUE(plan.Refusal) << "the bytes fit, the clusters do not";
    }
    if (slack == 12) {
      EXPECT_FALSE(plan.Refusal) << *plan.Refusal;
    }
  }
}

}  // namespace
}  // namespace pwx
