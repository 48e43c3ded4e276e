// Showing a project or one of its player files as text: what git's textconv runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "commands/CommandRegistry.h"
#include "common/tests/TempFolder.h"
#include "devicefiles/tests/ProjectFileBytes.h"

namespace pwx {
namespace {

struct ShowRun {
  int status;
  std::string out, err;
};

ShowRun Show(const std::string& target) {
  std::ostringstream out, err;
  CommandContext context{out, err, "", false, false, nullptr, {}};
  CommandInput input;
  input.Arguments = {target};
  const CommandExit status = FindCommand("show")->Run(input, context);
  return {static_cast<int>(status), out.str(), err.str()};
}

TEST(ShowCommand, playerFileUnderGitsTemporaryNameIsShownAsText) {
  testing::TempFolder dir;
  const std::string path = dir / "Xa1b2c_plist.cfg";
  std::ofstream(path, std::ios::binary)
      << testing::PlayListBytes().Saved().Slot(1, {3, 5}, 2, true).Bytes();
  const ShowRun run = Show(path);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("slot 2 DI2: clips 003 005"), std::string::npos) << run.out;
}

TEST(ShowCommand, whatIsNeitherProjectNorPlayerFileCannotRun) {
  testing::TempFolder dir;
  std::ofstream(dir / "notes.txt") << "hello";
  for (const std::string& target : {dir / "notes.txt", dir / "missing"}) {
    const ShowRun run = Show(target);
    EXPECT_EQ(run.status, 2) << target;
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(run.err.empty());
  }
}

}  // namespace
}  // namespace pwx
