// deploy and compare run as the command line runs them: what they print where, their exit
// statuses, their JSON, the card's lock and destinations that are the project itself.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cstring>
#include <sstream>
#include <thread>

#include "commands/CardCommands.h"
#include "common/FolderLock.h"
#include "delivery/CardPlan.h"
#include "delivery/tests/CardTestProject.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;
using testing::WriteFile;

// A saved project of three clips, and an empty card.
class CardCopy : public ::testing::Test {
 public:
  void SetUp() override {
    card = dir / "card";
    fs::create_directory(card);
  }
  CardCommandRequest Request() {
    CardCommandRequest request;
    request.Folder = dir / "P";
    request.Destination = card;
    request.StartFolder = dir.Path();
    return request;
  }

  testing::TempFolder dir;
  testing::CardTestProject project{dir.Path(), dir / "P"};
  std::string card;
  std::ostringstream out, err;
};

TEST_F(CardCopy, TheCommandsPrintThePlanTheFilesAndTheResult) {
  CardCommandRequest request{dir / "P", card,  dir.Path(), "",
                             false,     false, false,      ProgressPrinter::Mode::Lines};
  EXPECT_EQ(DeployCommand(request, out, err), CommandExit::Success);
  // The plan and the result on standard output, the progress a line a step on standard
  // error.
  const std::string printed = out.str();
  EXPECT_EQ(printed.rfind("Project: ", 0), 0u) << printed;
  EXPECT_NE(printed.find("\nPlan: 8 files to write ("), std::string::npos) << printed;
  EXPECT_NE(printed.find("\nCard verified: 8 files, "), std::string::npos);
  EXPECT_EQ(printed.find("Writing"), std::string::npos) << printed;
  const std::string said = err.str();
  EXPECT_NE(said.find("\nWriting 001.mp3\n"), std::string::npos) << said;
  EXPECT_NE(said.find("\nVerifying plist.cfg\n"), std::string::npos);
  // A folder on a disk is no FAT card: said, and copied all the same.
  EXPECT_NE(said.find("warning: The card is formatted "), std::string::npos) << said;
  EXPECT_EQ(said.find("error"), std::string::npos) << said;

  out.str({});
  EXPECT_EQ(CompareCommand(request, out, err), CommandExit::Success);
  EXPECT_NE(out.str().find("same             001.mp3\n"), std::string::npos) << out.str();
  WriteFile(card + "/017.mp3", "stale");
  EXPECT_EQ(CompareCommand(request, out, err), CommandExit::Failed);
}

TEST_F(CardCopy, ASecondCopyToTheSameCardWaitsForTheFirstOrIsRefused) {
  ASSERT_EQ(DeployCommand(Request(), out, err), CommandExit::Success) << err.str();
  fs::remove(card + "/003.mp3");
  CardCommandRequest request = Request();
  request.LockWait = std::chrono::milliseconds(100);
  {
    const FolderLock other(card);  // another copy is writing to the card
    out.str({});
    err.str({});
    EXPECT_EQ(DeployCommand(request, out, err), CommandExit::Failed);
    EXPECT_NE(err.str().find("Another program is changing"), std::string::npos) << err.str();
    EXPECT_EQ(out.str().find("verified"), std::string::npos) << out.str();
    EXPECT_FALSE(fs::exists(card + "/003.mp3"));
  }
  // One that ends within the wait is waited for.
  auto other = std::make_unique<FolderLock>(card);
  std::thread ending([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    other.reset();
  });
  request.LockWait = std::chrono::milliseconds(5000);
  EXPECT_EQ(DeployCommand(request, out, err), CommandExit::Success) << err.str();
  ending.join();
  EXPECT_TRUE(fs::exists(card + "/003.mp3"));
}

// Another path to the project folder, a bind mount, is the project folder: a copy there
// would delete the project's own files as stale.
TEST(CardDestination, TheProjectUnderABindMountIsRefused) {
  testing::TempFolder dir;
  testing::CardTestProject project{dir.Path(), dir / "P"};
  fs::create_directories(dir / "media/card");
  WriteFile(dir / "P/017.mp3", "a clip the project no longer uses");
  if (mount((dir / "P").c_str(), (dir / "media/card").c_str(), nullptr, MS_BIND, nullptr) != 0) {
    GTEST_SKIP() << "skipped: a bind mount needs root here (" << std::strerror(errno) << ")";
  }
  std::ostringstream out, err;
  CardCommandRequest request;
  request.Folder = dir / "P";
  request.Destination = dir / "media/card";
  request.StartFolder = dir.Path();
  request.DeleteStale = true;
  const CommandExit exit = DeployCommand(request, out, err);
  const auto why = WhyNotADestination(dir / "P", dir / "media/card/");
  umount((dir / "media/card").c_str());
  EXPECT_EQ(exit, CommandExit::CannotRun);
  EXPECT_EQ(err.str(), "The destination is the project folder itself; choose the card.\n");
  EXPECT_TRUE(why);
  EXPECT_TRUE(fs::exists(dir / "P/017.mp3"));
}

// JSON
}  // namespace
}  // namespace pwx
