// A real FAT card: how the copy sees it, and its room counted in whole clusters.
#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "common/MessageText.h"
#include "delivery/CardDeploy.h"
#include "delivery/CardRoom.h"
#include "delivery/tests/CardTestProject.h"
#include "delivery/tests/FatCard.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;
using testing::FatCard;
using testing::WriteFile;

class CardOnFat : public ::testing::Test {
 public:
  testing::TempFolder dir;
  testing::CardTestProject project{dir.Path(), dir / "P"};
};

TEST_F(CardOnFat, IsSeenForWhatItIs) {
  FatCard card({64, 16, 4});
  PWX_SKIP_WITHOUT_FAT(card);
  WriteFile(card / "Notes.TXT", "x");
  const CardFolderFacts facts = ExamineCardFolder(card.Path(), {"Notes.TXT"});
  EXPECT_EQ(facts.Format, CardFormat::Fat) << facts.FileSystem;
  EXPECT_TRUE(facts.IgnoresCase);
  EXPECT_EQ(facts.UnitBytes, 2048u);  // four sectors of 512 bytes
  EXPECT_EQ(FileSystemText(facts), "FAT16");
  EXPECT_EQ(facts.FixedEntries, 512);
  // Without a name to try, the file system decides.
  EXPECT_TRUE(ExamineCardFolder(card.Path(), {}).IgnoresCase);
}

// Each small settings file takes a whole cluster: a card with room for the bytes but not for
// the clusters is refused before anything is written, and a plan that fits, fits.
TEST_F(CardOnFat, RoomIsCountedInClusters) {
  for (const std::uint64_t slack : {0u, 1u, 3u, 6u, 12u}) {
    FatCard card({8, 12, 32});  // clusters of 16 kB
    PWX_SKIP_WITHOUT_FAT(card);
    const CardFolderFacts facts = ExamineCardFolder(card.Path(), {});
    ASSERT_EQ(facts.UnitBytes, 16384u);
    ASSERT_EQ(FileSystemText(facts), "FAT12");
    std::uint64_t bytes = 0;
    for (const auto& [name, content] : project.files) bytes += content.size();
    // A filler leaves room for the bytes and a few clusters more.
    const std::uint64_t leave = AllocatedBytes(bytes, facts.UnitBytes) + slack * facts.UnitBytes;
    ASSERT_GT(facts.FreeBytes, leave);
    WriteFile(card / "FILLER.BIN", std::string(facts.FreeBytes - leave, '\0'));
    ASSERT_EQ(ExamineCardFolder(card.Path(), {}).FreeBytes, leave);
    PlanOptions options;
    const DeployPlan plan = PlanDeploy(project.Snapshot(), card.Path(), options);
    EXPECT_EQ(plan.NeededBytes % facts.UnitBytes, 0u);
    const DeployResult result = plan.Refusal ? DeployResult{} : DeployToCard(plan, DeployOptions{});
    if (plan.Refusal) {
      EXPECT_NE(plan.Refusal->find("too little room"), std::string::npos) << *plan.Refusal;
      EXPECT_FALSE(fs::exists(card / "plist.cfg"));
    } else {
      EXPECT_TRUE(result.Succeeded()) << "slack " << slack << ": " << result.Summary();
    }
    if (slack == 0) {
      EXPECT_TRUE(plan.Refusal) << "the bytes fit, the clusters do not";
    }
    if (slack == 12) {
      EXPECT_FALSE(plan.Refusal) << *plan.Refusal;
    }
  }
}

}  // namespace
}  // namespace pwx
