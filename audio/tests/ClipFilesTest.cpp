#include <gtest/gtest.h>

#include "audio/ClipFiles.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

TEST(ClipSize, TenMebibytesIsTheLimit) {
  testing::TempFolder dir;
  DiagnosticLog log;
  std::filesystem::resize_file(
      [&] {
        testing::WriteFile(dir / "ok.mp3", "");
        return dir / "ok.mp3";
      }(),
      kMaxClipBytes);
  EXPECT_EQ(CheckClipSize(dir / "ok.mp3", log), Outcome::Done());

  testing::WriteFile(dir / "big.mp3", "");
  std::filesystem::resize_file(dir / "big.mp3", kMaxClipBytes + 1);
  EXPECT_EQ(CheckClipSize(dir / "big.mp3", log), Outcome::Refused("File Size > then Buffer 10MB"));
}

TEST(ProjectCopy, NameIsThreeDigitsWithLowerCaseExtension) {
  EXPECT_EQ(ProjectCopyPath("/p/", 3), "/p/003.mp3");
  EXPECT_EQ(ProjectCopyPath("", 64), "064.mp3");
}

}  // namespace
}  // namespace pwx
