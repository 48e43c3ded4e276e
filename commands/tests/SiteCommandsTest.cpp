// The site commands on real folders: the check's exit statuses, a player's card written from
// the site file, and two cards that diff tells apart by their Device ID alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "commands/CommandRegistry.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

struct CommandRun {
  int status;
  std::string out, err;
};

CommandRun RunCommand(const char* name, std::vector<std::string> arguments,
                      std::vector<std::string> switches = {}) {
  std::ostringstream out, err;
  CommandContext context{out, err, "", false, false, nullptr, {}};
  CommandInput input;
  input.Arguments = std::move(arguments);
  for (const std::string& option : switches) input.Options[option] = "";
  input.Options["quiet"] = "";
  const CommandExit status = FindCommand(name)->Run(input, context);
  return {static_cast<int>(status), out.str(), err.str()};
}

class SiteCommands : public ::testing::Test {
 protected:
  SiteCommands() {
    std::filesystem::create_directories(dir / "tmpl");
    EXPECT_EQ(RunCommand("set", {dir / "tmpl", "volume=6", "DI1=none"}).status, 0);
    for (const char* card : {"card1", "card2"}) dir.MakeFolder(card);
  }
  void Site(const std::string& rows) {
    dir.Write("site.csv", "player;location;bus;device_id;volume;project;parity\n" + rows);
  }
  testing::TempFolder dir;
};

TEST_F(SiteCommands, CheckExitsOneOnErrorsAndTwoOnAFileThatIsNoSite) {
  Site("A;x;1;5;5;tmpl;E\nB;x;1;6;5;tmpl;E\n");
  const CommandRun good = RunCommand("site check", {dir / "site.csv"});
  EXPECT_EQ(good.status, 0) << good.out << good.err;
  EXPECT_NE(good.out.find("Site: 2 players on 1 bus; no problems found"), std::string::npos)
      << good.out;
  Site("A;x;1;5;5;tmpl;E\nB;x;1;5;5;tmpl;E\n");
  const CommandRun twice = RunCommand("site check", {dir / "site.csv"}, {"json"});
  EXPECT_EQ(twice.status, 1);
  EXPECT_NE(twice.out.find("\"code\": \"device-id-twice\""), std::string::npos) << twice.out;
  dir.Write("site.csv", "");
  EXPECT_EQ(RunCommand("site check", {dir / "site.csv"}).status, 2);
}

TEST_F(SiteCommands, TwoPlayersCardsDifferInTheDeviceIdAlone) {
  Site("Hall A / 1;x;1;11;;tmpl;E\nHall A / 2;x;1;12;;tmpl;E\n");
  const CommandRun first =
      RunCommand("site deploy", {dir / "site.csv", "Hall A / 1", dir / "card1"});
  ASSERT_EQ(first.status, 0) << first.out << first.err;
  EXPECT_NE(first.out.find("'Hall A / 1' (bus 1, Device ID 11): Card verified"), std::string::npos)
      << first.out;
  // Run with -q: the count of cards is progress and stays out.
  EXPECT_EQ(first.err.find("card 1 of 1"), std::string::npos) << first.err;
  ASSERT_EQ(RunCommand("site deploy", {dir / "site.csv", "Hall A / 2", dir / "card2"}).status, 0);
  const CommandRun diff = RunCommand("diff", {dir / "card1", dir / "card2"});
  EXPECT_EQ(diff.status, 1);
  EXPECT_EQ(diff.out, "Device ID: 11 -> 12\n");
  EXPECT_TRUE(dir.Has("site.log.csv"));

  const CommandRun wrongCard =
      RunCommand("site deploy", {dir / "site.csv", "Hall A / 2", dir / "card1"});
  EXPECT_EQ(wrongCard.status, 1);
  EXPECT_NE(wrongCard.out.find("holds the files of player 'Hall A / 1'"), std::string::npos)
      << wrongCard.out;
}

TEST_F(SiteCommands, SiteWithBusErrorsWritesNoCard) {
  Site("A;x;1;11;;tmpl;E\nB;x;1;11;;tmpl;E\n");
  const CommandRun run = RunCommand("site deploy", {dir / "site.csv", "A", dir / "card1"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::path(dir / "card1")));
  EXPECT_FALSE(dir.Has("site.log.csv"));
}

}  // namespace
}  // namespace pwx
