// Where a window started from the desktop's menu works: a folder of its own in the user's
// documents, never the home folder itself.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/tests/TempFolder.h"
#include "project/StartFolder.h"

namespace pwx {
namespace {

using testing::TempFolder;

struct StartCase {
  const char* name;
  const char* documents;  // in the temporary home, "~" for the home itself; null for none
  bool documentsThere;
  const char* expected;  // in the temporary home
};

class DesktopStartFolder : public ::testing::TestWithParam<StartCase> {};

TEST_P(DesktopStartFolder, IsMadeInTheDocumentsOrElseTheHomeFolder) {
  const TempFolder home;
  const StartCase& c = GetParam();
  const bool isHome = c.documents && std::string(c.documents) == "~";
  const std::string documents = !c.documents ? "" : isHome ? home.Path() : home / c.documents;
  if (c.documentsThere && !isHome) home.MakeFolder(c.documents);
  const std::string folder = PrepareDesktopStartFolder(documents, home.Path());
  EXPECT_EQ(folder, home / c.expected);
  EXPECT_TRUE(FolderExists(folder));
}

INSTANTIATE_TEST_SUITE_P(
    Table, DesktopStartFolder,
    ::testing::Values(StartCase{"Documents", "Dokumente", true, "Dokumente/PWX36 Projects"},
                      StartCase{"DocumentsNotThere", "Documents", false, "PWX36 Projects"},
                      StartCase{"NoDocuments", nullptr, false, "PWX36 Projects"},
                      // XDG_DOCUMENTS_DIR="$HOME": the folder of its own is still made
                      StartCase{"DocumentsAreHome", "~", true, "PWX36 Projects"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DesktopStartFolderTest, SaysWhyItCannotBeMade) {
  const TempFolder home;
  home.Write("PWX36 Projects", "a file in the way");
  EXPECT_EQ(testing::ErrorOf([&] { PrepareDesktopStartFolder("", home.Path()); }),
            "Cannot create folder \"" + (home / "PWX36 Projects") + "\". Not a directory");
  EXPECT_EQ(testing::ErrorOf([] { PrepareDesktopStartFolder("", ""); }),
            "Cannot create folder \"PWX36 Projects\". The home folder is not known.");
}

// What a file manager passes: a project folder or its plist.cfg opens the window; a command
// word, an option, more than one word or a path that is neither stays a command.
TEST(ProjectFolderArgument, OpensAFolderOrThePlayListsFolder) {
  const TempFolder root;
  root.MakeFolder("Hall A");
  root.MakeFolder("check");
  testing::WriteFile(root / "Hall A/PLIST.CFG", "");
  testing::WriteFile(root / "Hall A/notes.txt", "");
  const struct {
    std::vector<std::string> arguments;
    std::optional<std::string> expected;
  } cases[] = {
      {{root / "Hall A"}, root / "Hall A"},
      {{root / "Hall A/PLIST.CFG"}, root / "Hall A/"},
      {{root / "Hall A/notes.txt"}, std::nullopt},
      {{root / "missing"}, std::nullopt},
      {{"check"}, std::nullopt},  // the command, even where a folder of that name exists
      {{"--help"}, std::nullopt},
      {{root / "Hall A", root / "Hall A"}, std::nullopt},
      {{}, std::nullopt},
  };
  const std::string here = std::filesystem::current_path().string();
  std::filesystem::current_path(root.Path());
  for (const auto& c : cases) {
    EXPECT_EQ(ProjectFolderArgument(c.arguments), c.expected)
        << (c.arguments.empty() ? "" : c.arguments.front());
  }
  std::filesystem::current_path(here);
}

}  // namespace
}  // namespace pwx
