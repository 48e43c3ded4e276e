// A batch of a site's cards: each from the template, with its own rtu.cfg and vol.cfg.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "common/tests/TempFolder.h"
#include "delivery/ProjectTextFolder.h"
#include "delivery/SiteDeploy.h"
#include "delivery/tests/CardTestProject.h"
#include "project/ProjectFolder.h"
#include "textform/ProjectDiff.h"

namespace pwx {
namespace {

class SiteDeployTest : public ::testing::Test {
 protected:
  SiteDeployTest() : project(dir.Path(), dir / "tmpl") {
    dir.Write("site.csv",
              "player,location,bus,device_id,volume,project,parity,stop_bits\n"
              "Hall A / 1,Hall A,1,11,,tmpl,E,1\n"
              "Hall A / 2,Hall A,1,12,,tmpl,E,1\n"
              "Hall A / 3,Hall A,1,13,,tmpl,E,1\n");
    for (const char* card : {"card1", "card2", "card3"}) dir.MakeFolder(card);
  }
  SiteSetup Setup() const { return SetUpSite(ReadSiteFile(dir / "site.csv")); }

  testing::TempFolder dir;
  testing::CardTestProject project;
};

TEST_F(SiteDeployTest, ThreeCardsDifferOnlyInTheirDeviceIdsAndEachIsVerified) {
  const SiteSetup setup = Setup();
  FileHashCache cache;
  SiteCardOptions options;
  options.Cache = &cache;
  for (std::size_t i = 0; i < 3; ++i) {
    const SiteCardResult result =
        DeploySitePlayer(setup, i, dir / ("card" + std::to_string(i + 1)), options);
    ASSERT_FALSE(result.Refusal) << *result.Refusal;
    EXPECT_TRUE(result.Verified()) << result.Result->Summary();
  }
  for (int n = 1; n <= 3; ++n) {
    std::map<std::string, std::string> card = testing::FilesIn(dir / ("card" + std::to_string(n)));
    EXPECT_EQ(card.at("rtu.cfg"), "1" + std::to_string(n) + ",115200,E,8,1");
    card.erase("rtu.cfg");
    std::map<std::string, std::string> expected = project.files;
    expected.erase("rtu.cfg");
    EXPECT_EQ(card, expected);
  }
  EXPECT_EQ(testing::FilesIn(dir / "tmpl"), project.files);
  const ProjectDiff diff = DiffProjectTexts(TextOfSnapshot(ReadProjectFolder(dir / "card1")),
                                            TextOfSnapshot(ReadProjectFolder(dir / "card2")));
  ASSERT_EQ(diff.Lines.size(), 1U);
  EXPECT_EQ(diff.Lines[0].Text, "Device ID: 11 -> 12");
}

TEST_F(SiteDeployTest, CardOfAnotherPlayerIsRefusedUnlessForced) {
  const SiteSetup setup = Setup();
  ASSERT_TRUE(DeploySitePlayer(setup, 0, dir / "card1", {}).Verified());
  const auto before = testing::FilesIn(dir / "card1");

  const SiteCardResult refused = DeploySitePlayer(setup, 1, dir / "card1", {});
  ASSERT_TRUE(refused.Refusal);
  EXPECT_NE(refused.Refusal->find("holds the files of player 'Hall A / 1' (bus 1, Device ID 11)"),
            std::string::npos)
      << *refused.Refusal;
  EXPECT_EQ(testing::FilesIn(dir / "card1"), before);

  EXPECT_TRUE(DeploySitePlayer(setup, 0, dir / "card1", {}).Verified());
  SiteCardOptions force;
  force.Force = true;
  EXPECT_TRUE(DeploySitePlayer(setup, 1, dir / "card1", force).Verified());
  EXPECT_EQ(testing::FilesIn(dir / "card1").at("rtu.cfg"), "12,115200,E,8,1");
}

TEST_F(SiteDeployTest, SiteLogRecordsEachCard) {
  const SiteSetup setup = Setup();
  const std::string log = SiteLogPath(dir / "site.csv");
  EXPECT_EQ(log, dir / "site.log.csv");
  for (std::size_t i = 0; i < 2; ++i) {
    const std::string card = dir / ("card" + std::to_string(i + 1));
    AppendSiteLog(log, SiteLogEntryOf(setup, i, card, DeploySitePlayer(setup, i, card, {})));
  }
  const SiteCardResult refused = DeploySitePlayer(setup, 2, dir / "card1", {});
  AppendSiteLog(log, SiteLogEntryOf(setup, 2, dir / "card1", refused));
  const std::vector<SiteLogEntry> entries = ReadSiteLog(log);
  ASSERT_EQ(entries.size(), 3U);
  EXPECT_EQ(entries[0].Player, "Hall A / 1");
  EXPECT_TRUE(entries[0].Written && entries[0].Verified);
  EXPECT_NE(entries[1].Hashes.find("rtu.cfg:"), std::string::npos) << entries[1].Hashes;
  EXPECT_NE(entries[1].Hashes.find("001.mp3:"), std::string::npos);
  EXPECT_FALSE(entries[2].Written || entries[2].Verified);
  EXPECT_NE(entries[2].Result.find("holds the files of player"), std::string::npos);
}

}  // namespace
}  // namespace pwx
