// deploy onto a real FAT card: names that ignore case, two-second file times and stamps that
// keep no change time.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "commands/CardCommands.h"
#include "delivery/tests/CardTestProject.h"
#include "delivery/tests/FatCard.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;
using testing::FatCard;
using testing::ReadWhole;
using testing::WriteFile;

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

// The card holds the clips and settings as another system spelled them: each is the player's
// file, replaced; none is deleted as stale after it was written.
TEST_F(CardOnFat, NamesInAnotherCaseAreThePlayersFilesAndStayAfterTheCopy) {
  FatCard card;
  PWX_SKIP_WITHOUT_FAT(card);
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
  PWX_SKIP_WITHOUT_FAT(card);
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

}  // namespace
}  // namespace pwx
