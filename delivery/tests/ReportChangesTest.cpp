// The report's "Changes since the last report": the text form a report leaves in the project
// folder, compared with the project when the next report is made.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "delivery/CardPlan.h"
#include "delivery/CommissioningReport.h"
#include "delivery/FolderDiff.h"
#include "delivery/ReportHtml.h"
#include "delivery/tests/CardTestProject.h"
#include "textform/ProjectTextJson.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;

class ReportChangesTest : public ::testing::Test {
 public:
  std::string Folder() const { return dir / "P"; }
  CommissioningReport Make() const {
    ReportOptions options;
    options.MadeAt = "2026-12-11 10:00";
    return MakeCommissioningReport(project.Snapshot(), options);
  }
  void KeepInTheProjectFolder(const CommissioningReport& report) const {
    testing::WriteFile(ReportTextPathIn(dir / "P"), report.TextForm);
  }

  testing::TempFolder dir;
  testing::CardTestProject project{dir.Path(), dir / "P"};
};

TEST_F(ReportChangesTest, aFirstReportHasNoChangesAndKeepsItsTextForm) {
  const CommissioningReport report = Make();
  EXPECT_FALSE(report.Changes);
  // What the report's check read of the copies is what show prints of them.
  EXPECT_EQ(report.TextForm, ProjectTextJson(TextOfSnapshot(project.Snapshot())));
  EXPECT_EQ(CommissioningReportHtml(report).find("Changes since the last report"),
            std::string::npos);
}

TEST_F(ReportChangesTest, theNextReportListsWhatChangedSince) {
  KeepInTheProjectFolder(Make());
  EXPECT_EQ(Make().Changes->Lines, std::vector<std::string>{});
  EXPECT_NE(CommissioningReportHtml(Make()).find("<p>No changes</p>"), std::string::npos);

  project.editor->SetDeviceId("12");
  project.editor->SetRepeat(0, "3");
  project.editor->SpeedButton9Click();
  const CommissioningReport report = Make();
  ASSERT_TRUE(report.Changes);
  EXPECT_EQ(report.Changes->Lines,
            (std::vector<std::string>{"Device ID: 1 -> 12", "DI1 repeat: 1 -> 3"}));
  const std::string html = CommissioningReportHtml(report);
  EXPECT_NE(html.find("<h2>Changes since the last report</h2><ul><li>Device ID: 1 -&gt; 12</li>"),
            std::string::npos)
      << html;
}

TEST_F(ReportChangesTest, aTextFormThatCannotBeReadIsSaidInstead) {
  testing::WriteFile(dir / "P/report.json", "{\"version\": 9}");
  const CommissioningReport report = Make();
  ASSERT_TRUE(report.Changes);
  EXPECT_TRUE(report.Changes->Lines.empty());
  EXPECT_NE(report.Changes->Trouble.find("report.json cannot be read: version"), std::string::npos)
      << report.Changes->Trouble;
}

// The kept text form is no file of the player: no copy takes it, and the check says nothing
// of it.
TEST_F(ReportChangesTest, theKeptTextFormIsNeitherCopiedNorChecked) {
  KeepInTheProjectFolder(Make());
  testing::TempFolder card;
  const DeployPlan plan = PlanDeploy(project.Snapshot(), card.Path(), {});
  EXPECT_TRUE(std::none_of(plan.Files.begin(), plan.Files.end(),
                           [](const PlayerFile& file) { return file.Name == "report.json"; }));
  EXPECT_EQ(plan.Files.size(), project.files.size());
  for (const Finding& finding : CheckProject(project.Snapshot(), {})) {
    EXPECT_EQ(finding.Message.find("report.json"), std::string::npos) << finding.Message;
  }
}

// A folder compared with the project it was copied from, in the player's terms; its copies
// are decoded where their bytes differ.
TEST_F(ReportChangesTest, aFolderComparedWithTheProjectItWasCopiedFrom) {
  fs::copy(Folder(), dir / "Q");
  EXPECT_EQ(DiffWithFolder(project.Snapshot(), dir / "Q").Outcome(), DiffOutcome::Equal);
  // New tags before the audio of clip 002, and another volume.
  const std::string clip = testing::ReadWhole(dir / "Q/002.mp3");
  const std::string tag = std::string("ID3\x04\x00\x00\x00\x00\x00\x0a", 10) +
                          std::string(10, '\0');  // an ID3v2 tag of padding only
  testing::WriteFile(dir / "Q/002.mp3", tag + clip);
  project.editor->TrackBar1Change(3);
  const ProjectDiff diff = DiffWithFolder(project.Snapshot(), dir / "Q");
  std::vector<std::string> lines;
  for (const DiffLine& line : diff.Lines) lines.push_back(line.Text);
  ASSERT_EQ(lines.size(), 2u) << ::testing::PrintToString(lines) << diff.Troubles.size();
  EXPECT_EQ(lines[0].rfind("Volume: ", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1].rfind("clip 002 ", 0), 0u) << lines[1];
  EXPECT_NE(lines[1].find("tags only"), std::string::npos) << lines[1];
}

}  // namespace
}  // namespace pwx
