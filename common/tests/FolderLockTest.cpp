#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "common/EditorError.h"
#include "common/FolderLock.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

using std::chrono::milliseconds;
using testing::ErrorOf;
using testing::TempFolder;

TEST(FolderLock, SecondHolderIsRefusedAfterItsWaitAndGetsItOnceFreed) {
  TempFolder dir;
  auto first = std::make_unique<FolderLock>(dir.Path());
  EXPECT_EQ(ErrorOf([&] { FolderLock second(dir.Path(), milliseconds(50)); }),
            FolderBusyText(dir.Path()));
  first.reset();
  EXPECT_EQ(ErrorOf([&] { FolderLock third(dir.Path(), milliseconds(50)); }), "(no error)");
}

TEST(FolderLock, WaiterGetsTheLockWhenTheHolderLetsGoInTime) {
  TempFolder dir;
  auto first = std::make_unique<FolderLock>(dir.Path());
  std::thread release([&] {
    std::this_thread::sleep_for(milliseconds(100));
    first.reset();
  });
  EXPECT_EQ(ErrorOf([&] { FolderLock second(dir.Path(), milliseconds(5000)); }), "(no error)");
  release.join();
}

TEST(FolderLock, AnotherProcessHoldingTheFolderKeepsUsOut) {
  TempFolder dir;
  // flock(1) holds the folder for a second in a process of its own.
  const std::string command = "flock \"" + dir.Path() + "\" sleep 1 & sleep 0.3";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(ErrorOf([&] { FolderLock mine(dir.Path(), milliseconds(50)); }),
            FolderBusyText(dir.Path()));
}

TEST(FolderLock, MissingFolderCannotBeLocked) {
  TempFolder dir;
  EXPECT_NE(ErrorOf([&] { FolderLock lock(dir / "missing"); }).find("Cannot open file"),
            std::string::npos);
}

}  // namespace
}  // namespace pwx
