// Copying a project to a card: the plan, the copy and its proof, and what failures leave.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

#include "common/EditorError.h"
#include "common/MessageText.h"
#include "common/tests/TempFolder.h"
#include "delivery/CardDeploy.h"
#include "delivery/CardVolumes.h"
#include "delivery/tests/CardTestProject.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;
using testing::FilesIn;
using testing::ReadWhole;
using testing::WriteFile;

const std::vector<std::string> kPlayerFiles = {"001.mp3",  "002.mp3", "003.mp3", "Err1.mp3",
                                               "m3fn.txt", "vol.cfg", "rtu.cfg", "plist.cfg"};

// A saved project of three clips, and a card (a folder whose name has spaces and letters
// beyond ASCII) that holds an older 002.mp3.
class CardCopy : public ::testing::Test {
 public:
  void SetUp() override {
    saved = std::make_unique<testing::CardTestProject>(dir.Path(), dir / "P");
    editor = saved->editor.get();
    project = saved->files;
    card = dir / "Karte Grün 1";
    fs::create_directories(card);
    WriteFile(card + "/002.mp3", "an older recording");
  }
  DeployPlan Plan(PlanOptions options = {}) {
    options.Cache = &cache;
    return PlanDeploy(editor->Snapshot(), card, options);
  }
  // Each player file on the card is the project's or, where given, the old one: never a
  // piece. No temporary is left, and the project folder is as it was.
  void ExpectWholeFiles(const std::map<std::string, std::string>& old = {}) {
    for (const auto& [name, bytes] : FilesIn(card)) {
      EXPECT_EQ(name.find(".saving"), std::string::npos) << name;
      if (!project.count(name)) continue;
      const bool isOld = old.count(name) && old.at(name) == bytes;
      EXPECT_TRUE(bytes == project.at(name) || isOld) << name << " is cut short";
    }
    EXPECT_EQ(FilesIn(dir / "P"), project);
  }

  testing::TempFolder dir;
  std::string card;
  std::unique_ptr<testing::CardTestProject> saved;
  Editor* editor = nullptr;
  std::map<std::string, std::string> project;
  FileHashCache cache;
};

TEST_F(CardCopy, FirstCopyWritesEveryPlayerFileAndNothingElseThenVerifies) {
  const DeployPlan plan = Plan();
  ASSERT_FALSE(plan.Refusal) << *plan.Refusal;
  std::vector<std::string> names;
  for (const auto& f : plan.Files) names.push_back(f.Name);
  EXPECT_EQ(names, kPlayerFiles);
  EXPECT_EQ(plan.FilesToWrite(), 8);
  EXPECT_EQ(plan.BytesToWrite(), plan.BytesOfProject());

  std::uint64_t lastDone = 0, lastTotal = 0;
  // Each file is written, then each read back: the steps name them in that order.
  std::vector<std::string> steps;
  DeployOptions options;
  options.Work.Progress = [&](const ProgressStep& step) {
    EXPECT_GE(step.Done, lastDone);
    lastDone = step.Done;
    lastTotal = step.Total;
    if (steps.empty() || steps.back() != step.Text) steps.push_back(step.Text);
  };
  const DeployResult result = DeployToCard(plan, options);
  EXPECT_TRUE(result.Verified()) << result.Summary();
  EXPECT_EQ(result.Written, kPlayerFiles);
  EXPECT_EQ(lastDone, lastTotal);
  std::vector<std::string> expected;
  for (const std::string& name : kPlayerFiles) expected.push_back("Writing " + name);
  for (const std::string& name : kPlayerFiles) expected.push_back("Verifying " + name);
  EXPECT_EQ(steps, expected);
  EXPECT_EQ(FilesIn(card), project);
  EXPECT_EQ(result.Summary(), "Card verified: 8 files, " + SizeText(plan.BytesOfProject()));
}

TEST_F(CardCopy, ASecondCopyOfAnUnchangedProjectWritesNothing) {
  DeployOptions options;
  options.Cache = &cache;
  DeployToCard(Plan(), options);
  for (FileHashCache* remembered : {&cache, static_cast<FileHashCache*>(nullptr)}) {
    PlanOptions planning;
    planning.Cache = remembered;
    const DeployPlan again = PlanDeploy(editor->Snapshot(), card, planning);
    EXPECT_EQ(again.FilesToWrite(), 0);
    EXPECT_EQ(DeployToCard(again).Written.size(), 0u);
  }
}

TEST_F(CardCopy, StaleClipsAreFoundAndDeletedOnlyWhenAsked) {
  WriteFile(card + "/017.mp3", "old");
  WriteFile(card + "/005.MP3", "old");
  WriteFile(card + "/notes.txt", "the installer's notes");
  fs::create_directory(card + "/018.mp3");
  const DeployPlan plan = Plan();
  ASSERT_EQ(plan.Stale.size(), 2u);
  EXPECT_EQ(plan.Stale[0].Name, "005.MP3");
  EXPECT_EQ(plan.Stale[1].Name, "017.mp3");

  DeployToCard(plan);
  EXPECT_TRUE(fs::exists(card + "/017.mp3"));
  DeployOptions deleting;
  deleting.DeleteStale = true;
  const DeployResult result = DeployToCard(Plan(), deleting);
  EXPECT_EQ(result.Deleted, (std::vector<std::string>{"005.MP3", "017.mp3"}));
  EXPECT_FALSE(fs::exists(card + "/017.mp3"));
  EXPECT_TRUE(fs::exists(card + "/notes.txt"));
  EXPECT_TRUE(fs::is_directory(card + "/018.mp3"));
}

TEST_F(CardCopy, TooLittleRoomIsRefusedBeforeAnythingIsWritten) {
  PlanOptions options;
  options.FreeSpace = [](const std::string&) { return std::uint64_t{1000}; };
  const DeployPlan plan = Plan(options);
  ASSERT_TRUE(plan.Refusal);
  EXPECT_EQ(*plan.Refusal, "The card has too little room: the copy needs " +
                               SizeText(plan.NeededBytes) + " but only 1.0 kB are free.");
  EXPECT_THROW(DeployToCard(plan), EditorError);
  EXPECT_EQ(FilesIn(card).size(), 1u);
}

TEST_F(CardCopy, ARunningCopyCancelledLeavesWholeFilesAndSaysWhich) {
  std::atomic<bool> cancel{false};
  DeployOptions options;
  options.Work.Cancel = &cancel;
  options.Work.Progress = [&](const ProgressStep& step) {
    if (step.Text == "Writing 002.mp3") cancel = true;
  };
  const DeployResult result = DeployToCard(Plan(), options);
  EXPECT_TRUE(result.Cancelled);
  EXPECT_EQ(result.Written, (std::vector<std::string>{"001.mp3", "002.mp3"}));
  EXPECT_EQ(result.Summary(), "Copy cancelled: 2 files written whole");
  ExpectWholeFiles();
}

struct FaultCase {
  const char* name;
  std::function<void(CardCopy&, DeployOptions&)> arrange;
  std::string file;              // the file the failure names
  std::string reason;            // the start of why
  bool corruptsTheCard = false;  // the case itself spoils a file on the card
};

void PrintTo(const FaultCase& c, std::ostream* os) {
  *os << c.name;
}

class CardFaults : public CardCopy, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(CardFaults, LeaveNoFileCutShortAndNameTheFile) {
  const DeployPlan plan = Plan();
  DeployOptions options;
  GetParam().arrange(*this, options);
  const DeployResult result = DeployToCard(plan, options);
  ASSERT_FALSE(result.Verified());
  ASSERT_FALSE(result.Failures.empty());
  EXPECT_EQ(result.Failures.front().File, GetParam().file);
  EXPECT_EQ(result.Failures.front().Reason.substr(0, GetParam().reason.size()), GetParam().reason)
      << result.Failures.front().Reason;
  if (fs::exists(card) && !GetParam().corruptsTheCard) {
    ExpectWholeFiles({{"002.mp3", "an older recording"}});
  }
}

// A device that takes so many bytes and then fails: here half of what the copy writes.
void CardFullHalfWay(CardCopy& t, DeployOptions& options) {
  auto budget = std::make_shared<std::uint64_t>(t.project.at("001.mp3").size() + 10);
  options.BeforeWrite = [budget](const std::string&, std::uint64_t, std::size_t bytes) {
    if (bytes > *budget) throw EditorError("No space left on device");
    *budget -= bytes;
  };
}

INSTANTIATE_TEST_SUITE_P(
    Table, CardFaults,
    ::testing::Values(
        FaultCase{"CardFullHalfWay", CardFullHalfWay, "002.mp3", "No space left on device"},
        FaultCase{"WriteRefused",
                  [](CardCopy&, DeployOptions& o) {
                    o.BeforeWrite = [](const std::string& name, std::uint64_t, std::size_t) {
                      if (name == "002.mp3") throw EditorError("Permission denied");
                    };
                  },
                  "002.mp3", "Permission denied"},
        FaultCase{"CardPulledOut",
                  [](CardCopy& t, DeployOptions& o) {
                    o.Work.Progress = [&t](const ProgressStep& step) {
                      if (step.Text == "Writing 002.mp3") fs::remove_all(t.card);
                    };
                  },
                  "002.mp3", "Cannot create file"},
        FaultCase{"ReadBackDiffers",
                  [](CardCopy& t, DeployOptions& o) {
                    o.Work.Progress = [&t](const ProgressStep& step) {
                      // Every file is written, none read back.
                      if (step.Done != step.Total / 2) return;
                      std::string bytes = ReadWhole(t.card + "/003.mp3");
                      bytes[bytes.size() / 2] ^= 1;
                      WriteFile(t.card + "/003.mp3", bytes);
                    };
                  },
                  "003.mp3", "003.mp3 reads back differently", true},
        FaultCase{"ProjectFileChangedWhileCopied",
                  [](CardCopy& t, DeployOptions& o) {
                    o.Work.Progress = [&t](const ProgressStep& step) {
                      if (step.Text != "Writing 003.mp3") return;
                      std::this_thread::sleep_for(std::chrono::milliseconds(20));
                      WriteFile(t.dir / "P/003.mp3", "saved anew while it was copied");
                    };
                  },
                  "003.mp3", "003.mp3 changed in the project folder while it was copied", true}),
    [](const auto& info) { return std::string(info.param.name); });

// A real write failure from the system: a file-size limit makes the kernel refuse the bytes
// past it, as a full card does.
TEST_F(CardCopy, ARealWriteFailureKeepsTheOldFile) {
  const DeployPlan plan = Plan();
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4000;  // less than any clip
  setrlimit(RLIMIT_FSIZE, &small);
  const DeployResult result = DeployToCard(plan);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  ASSERT_EQ(result.Failures.size(), 1u);
  EXPECT_EQ(result.Failures[0].File, "001.mp3");
  EXPECT_NE(result.Failures[0].Reason.find("File too large"), std::string::npos);
  EXPECT_TRUE(result.Written.empty());
  ExpectWholeFiles({{"002.mp3", "an older recording"}});
}

TEST_F(CardCopy, AReadOnlyFileOnTheCardIsReplacedWhole) {
  fs::permissions(card + "/002.mp3", fs::perms::owner_read);
  EXPECT_TRUE(DeployToCard(Plan()).Verified());
  EXPECT_EQ(ReadWhole(card + "/002.mp3"), project.at("002.mp3"));
}

TEST_F(CardCopy, CompareTellsEachFileApart) {
  DeployToCard(Plan());
  WriteFile(card + "/002.mp3", "changed on the card");
  fs::remove(card + "/plist.cfg");
  WriteFile(card + "/017.mp3", "stale");
  PlanOptions fresh;
  const auto comparison = CompareWithCard(PlanDeploy(editor->Snapshot(), card, fresh));
  std::map<std::string, std::string> states;
  for (const auto& item : comparison) states[item.Name] = CardStateText(item.State);
  EXPECT_EQ(states["001.mp3"], "same");
  EXPECT_EQ(states["002.mp3"], "differs");
  EXPECT_EQ(states["plist.cfg"], "missing on card");
  EXPECT_EQ(states["017.mp3"], "only on card");
  EXPECT_EQ(ComparisonSummary(comparison),
            "Compare: 6 same, 1 differs, 1 missing on card, 1 only on card");
}

struct PlaceCase {
  const char* name;
  std::function<std::string(const testing::TempFolder&)> destination;
  std::string refusal;  // a part of it; empty when the place is fine
};

void PrintTo(const PlaceCase& c, std::ostream* os) {
  *os << c.name;
}

class CardPlaces : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(CardPlaces, AreRefusedWhenTheyCannotBeTheCard) {
  testing::TempFolder dir;
  fs::create_directories(dir / "P/sub");
  WriteFile(dir / "P/plist.cfg", "x");
  const auto why = WhyNotADestination(dir / "P", GetParam().destination(dir));
  if (GetParam().refusal.empty()) {
    EXPECT_FALSE(why) << *why;
  } else {
    ASSERT_TRUE(why);
    EXPECT_NE(why->find(GetParam().refusal), std::string::npos) << *why;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CardPlaces,
    ::testing::Values(
        PlaceCase{"ProjectItself", [](const auto& d) { return d / "P"; },
                  "The destination is the project folder itself"},
        PlaceCase{"ProjectItselfSpelledOtherwise", [](const auto& d) { return d / "P/sub/../"; },
                  "The destination is the project folder itself"},
        PlaceCase{"InsideTheProject", [](const auto& d) { return d / "P/sub"; },
                  "The destination lies inside the project folder"},
        PlaceCase{"AFile", [](const auto& d) { return d / "P/plist.cfg"; }, " is not a folder."},
        PlaceCase{"Missing", [](const auto& d) { return d / "nowhere"; }, " does not exist."},
        PlaceCase{"ASiblingWithALongerName",
                  [](const auto& d) {
                    fs::create_directory(d / "P2");
                    return d / "P2";
                  },
                  ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CardVolumes, OffersWritableCardsFirstAndNeverTheSystem) {
  const std::vector<Volume> mounted = {
      {"/", "/dev/vda1", "ext4", "", 100, 50, false, {}},
      {"/media/usb-disk", "/dev/sdc1", "ext4", "Backup", 100, 50, false, {}},
      {"/media/CARD", "/dev/mmcblk0p1", "vfat", "CARD", 8'000'000'000, 7'100'000'000, false, {}},
      {"/media/cdrom", "/dev/sr0", "iso9660", "DISC", 100, 0, true, {}},
      {"/boot/efi", "/dev/vda15", "vfat", "", 100, 90, false, {}},
      {"/run/user/0", "tmpfs", "tmpfs", "", 100, 90, false, {}}};
  std::vector<std::string> roots;
  for (const Volume& v : CardCandidates(mounted)) roots.push_back(v.Root);
  EXPECT_EQ(roots, (std::vector<std::string>{"/media/CARD", "/media/usb-disk"}));
  EXPECT_EQ(VolumeText(mounted[2]), "CARD (/media/CARD): 8.0 GB, 7.1 GB free");
}

}  // namespace
}  // namespace pwx
