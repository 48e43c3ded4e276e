#include <gtest/gtest.h>

#include <filesystem>

#include "common/FileIdentity.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

using testing::TempFolder;
namespace fs = std::filesystem;

struct InsideCase {
  const char* Path;  // relative to the temp folder; "@" names the project folder
  bool Inside;
};

class IsSameOrInsideTest : public ::testing::TestWithParam<InsideCase> {};

// The project is "p"; "link" is a link to it, "q" an unrelated folder beside it, "p/sub" a
// folder inside it; "p/sub/../plist.cfg" and "link/plist.cfg" spell a file of it differently.
TEST_P(IsSameOrInsideTest, JudgesByIdentityNotSpelling) {
  TempFolder dir;
  dir.MakeFolder("p");
  dir.MakeFolder("p/sub");
  dir.MakeFolder("q");
  dir.Write("p/plist.cfg", "x");
  fs::create_directory_symlink(dir / "p", dir / "link");
  fs::create_directory_symlink(dir / "q", dir / "p/out");  // a link inside leading out
  EXPECT_EQ(IsSameOrInside(dir / GetParam().Path, dir / "p"), GetParam().Inside) << GetParam().Path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, IsSameOrInsideTest,
    ::testing::Values(InsideCase{"p", true}, InsideCase{"p/", true}, InsideCase{"p/.", true},
                      InsideCase{"p/sub", true}, InsideCase{"p/sub/../plist.cfg", true},
                      InsideCase{"link", true}, InsideCase{"link/plist.cfg", true},
                      InsideCase{"link/not-yet/file.pdf", true}, InsideCase{"q", false},
                      InsideCase{"q/report.pdf", false}, InsideCase{"p/out/report.pdf", false},
                      InsideCase{"p/../q", false}, InsideCase{".", false}));

TEST(IsSameOrInside, FolderThatDoesNotExistHoldsNothing) {
  TempFolder dir;
  EXPECT_FALSE(IsSameOrInside(dir / "x", dir / "missing"));
}

TEST(IdentityOf, SameObjectThroughALinkAndNothingForAMissingPath) {
  TempFolder dir;
  dir.Write("a", "1");
  fs::create_symlink(dir / "a", dir / "b");
  EXPECT_EQ(IdentityOf(dir / "a"), IdentityOf(dir / "b"));
  EXPECT_FALSE(IdentityOf(dir / "c").has_value());
}

}  // namespace
}  // namespace pwx
