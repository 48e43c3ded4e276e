// What keeps a copy to a card honest: a card that changed is never called verified, and
// remembered hashes cannot hide a change.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <thread>

#include "common/FolderLock.h"
#include "delivery/CardDeploy.h"
#include "delivery/tests/CardTestProject.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;
using testing::FilesIn;
using testing::ReadWhole;
using testing::WriteFile;

constexpr std::int64_t kLongAfter = 60'000'000'000;  // a minute, in nanoseconds

// A project and a card it was copied to once.
class CardSafety : public ::testing::Test {
 public:
  void SetUp() override {
    card = dir / "card";
    fs::create_directory(card);
    ASSERT_TRUE(DeployToCard(Plan()).Succeeded());
  }
  DeployPlan Plan() { return PlanDeploy(project.Snapshot(), card, planning); }
  // As if the card's or project's file had been read long ago, with this digest.
  void RememberLongAgo(const std::string& path, const std::optional<Sha256Digest>& digest = {}) {
    InputFile file(path);
    cache.Remember(path, file.Stamp(), digest ? *digest : HashFile(path), NowNs() + kLongAfter);
  }
  // Changes one byte in the middle, keeping the size and the modification time.
  static void EditInPlace(const std::string& path) {
    const auto time = fs::last_write_time(path);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // past the clock's coarse tick
    std::string bytes = ReadWhole(path);
    bytes[bytes.size() / 2] ^= 0x55;
    std::fstream edit(path, std::ios::in | std::ios::out | std::ios::binary);
    edit.seekp(static_cast<std::streamoff>(bytes.size() / 2));
    edit.put(bytes[bytes.size() / 2]);
    edit.close();
    fs::last_write_time(path, time);
  }

  testing::TempFolder dir;
  testing::CardTestProject project{dir.Path(), dir / "P"};
  std::string card;
  FileHashCache cache;
  PlanOptions planning{&cache, {}, {}, {}, {}};
  std::unique_ptr<FolderLock> held;  // by another copy
};

// A file the plan found up to date that changes before the copy ends: the copy is not
// verified, and says which.
TEST_F(CardSafety, AFileChangedOnTheCardDuringTheCopyFailsIt) {
  fs::remove(card + "/003.mp3");
  const DeployPlan plan = Plan();
  ASSERT_TRUE(plan.Files[0].UpToDate);
  EditInPlace(card + "/001.mp3");
  const DeployResult result = DeployToCard(plan);
  EXPECT_FALSE(result.Succeeded());
  ASSERT_FALSE(result.Failures.empty());
  EXPECT_EQ(result.Failures[0].File, "001.mp3");
  EXPECT_EQ(result.Summary().find("verified"), std::string::npos) << result.Summary();
}

struct ChangeCase {
  const char* name;
  std::function<void(CardSafety&)> change;  // what happens while the plan is looked over
  bool deleting = false;
  std::string says = "the card changed after the plan was made";
};

void PrintTo(const ChangeCase& c, std::ostream* os) {
  *os << c.name;
}

class CardChangedUnderThePlan : public CardSafety,
                                public ::testing::WithParamInterface<ChangeCase> {};

// The window shows a plan, the user looks it over, and meanwhile the card changes: the copy
// writes and deletes nothing and says that the card changed.
TEST_P(CardChangedUnderThePlan, IsNotCopied) {
  WriteFile(card + "/017.mp3", "stale");
  const DeployPlan reviewed = Plan();
  GetParam().change(*this);
  const auto before = FilesIn(card);
  DeployOptions options;
  options.DeleteStale = GetParam().deleting;
  const DeployResult result = DeployReviewedPlan(project.Snapshot(), reviewed, planning, options,
                                                 std::chrono::milliseconds(100));
  ASSERT_FALSE(result.Succeeded());
  EXPECT_NE(result.Summary().find(GetParam().says), std::string::npos) << result.Summary();
  EXPECT_EQ(FilesIn(card), before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CardChangedUnderThePlan,
    ::testing::Values(
        ChangeCase{"AnotherCopyWroteAFile",
                   [](CardSafety& t) { WriteFile(t.card + "/002.mp3", "another project's"); }},
        ChangeCase{"AFileWasRemoved", [](CardSafety& t) { fs::remove(t.card + "/plist.cfg"); }},
        ChangeCase{"AnotherStaleClipToDelete",
                   [](CardSafety& t) { WriteFile(t.card + "/018.mp3", "x"); }, true},
        ChangeCase{"AnotherCardInItsPlace",
                   [](CardSafety& t) {
                     fs::rename(t.card, t.dir / "first card");
                     fs::create_directory(t.card);
                     for (const auto& [name, bytes] : t.project.files)
                       WriteFile(t.card + "/" + name, bytes);
                     WriteFile(t.card + "/002.mp3", "older");
                   }},
        ChangeCase{"LockedByAnotherCopy",
                   [](CardSafety& t) { t.held = std::make_unique<FolderLock>(t.card); }, false,
                   "Another program is changing"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CardSafety, APlanStillTrueIsCopied) {
  fs::remove(card + "/003.mp3");
  const DeployPlan reviewed = Plan();
  const DeployResult result = DeployReviewedPlan(project.Snapshot(), reviewed, planning, {});
  EXPECT_TRUE(result.Succeeded()) << result.Summary();
  EXPECT_EQ(ReadWhole(card + "/003.mp3"), project.files.at("003.mp3"));
}

// What a run remembered long ago never hides a file edited in place with its time set back.
TEST_F(CardSafety, ACardFileEditedInPlaceWithItsTimeSetBackIsFoundChanged) {
  for (const auto& [name, bytes] : project.files) RememberLongAgo(card + "/" + name);
  EditInPlace(card + "/002.mp3");
  const DeployPlan plan = Plan();
  EXPECT_FALSE(plan.Files[1].UpToDate);
  EXPECT_EQ(plan.FilesToWrite(), 1);
  const DeployResult result = DeployToCard(plan);
  EXPECT_TRUE(result.Succeeded()) << result.Summary();
  EXPECT_EQ(ReadWhole(card + "/002.mp3"), project.files.at("002.mp3"));
}

// A remembered digest that proves wrong fails one copy and is forgotten: the next succeeds.
TEST_F(CardSafety, AWrongRememberedDigestIsForgottenSoTheNextCopySucceeds) {
  EditInPlace(card + "/001.mp3");
  RememberLongAgo(dir / "P/001.mp3", Sha256Digest{});
  DeployOptions options;
  options.Cache = &cache;
  const DeployResult first = DeployToCard(Plan(), options);
  ASSERT_FALSE(first.Succeeded());
  EXPECT_EQ(first.Failures[0].File, "001.mp3");
  const DeployResult second = DeployToCard(Plan(), options);
  EXPECT_TRUE(second.Succeeded()) << second.Summary();
  EXPECT_EQ(ReadWhole(card + "/001.mp3"), project.files.at("001.mp3"));
}

// "Card verified" only when every file was read in this run; files known by their stamp
// alone are said to be so.
TEST_F(CardSafety, ACardKnownByRememberedHashesIsUpToDateNotVerified) {
  for (const auto& [name, bytes] : project.files) {
    RememberLongAgo(card + "/" + name);
    RememberLongAgo(dir / ("P/" + name));
  }
  const DeployResult remembered = DeployToCard(Plan());
  EXPECT_TRUE(remembered.Succeeded());
  EXPECT_EQ(remembered.Summary().find("verified"), std::string::npos) << remembered.Summary();
  EXPECT_EQ(remembered.Summary().rfind("Card up to date: 8 files, ", 0), 0u)
      << remembered.Summary();

  planning.Cache = nullptr;
  EXPECT_EQ(DeployToCard(Plan()).Summary().rfind("Card verified: 8 files, ", 0), 0u);
}

}  // namespace
}  // namespace pwx
