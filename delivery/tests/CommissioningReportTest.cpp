// The content of the commissioning report against a project built here: what a save writes,
// the clips as their copies are, and the alarm table as CSV.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/tests/TempFolder.h"
#include "delivery/CommissioningReport.h"
#include "delivery/ReportHtml.h"
#include "devicefiles/tests/ProjectFileBytes.h"
#include "project/Editor.h"
#include "project/tests/Fakes.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;
using testing::WriteFile;

// Clips 1 and 2 (one second each) and clip 3, whose copy is missing; DI1 plays 001 and 002
// twice with the alarm output, DI2 plays 003, DI3 and DI4 are silent. Saved.
class Report : public ::testing::Test {
 public:
  void SetUp() override {
    fs::create_directories(dir / "P");
    const std::string fixtures = PWX_CLIP_FIXTURES;
    fs::copy_file(fixtures + "/mpeg1-stereo-cbr.mp3", dir / "P/001.mp3");
    fs::copy_file(fixtures + "/mpeg1-mono-vbr.mp3", dir / "P/002.mp3");
    WriteFile(dir / "P/m3fn.txt", testing::NameMapBytes({{1, dir / "Fire alarm.mp3"},
                                                         {2, dir / "Leave, \"now\".mp3"},
                                                         {3, dir / "All clear.mp3"}}));
    WriteFile(dir / "P/plist.cfg",
              testing::PlayListBytes().Saved().Slot(0, {1, 2}, 2, true).Slot(1, {3}).Bytes());
    editor = std::make_unique<Editor>(host, player, dir.Path());
    editor->OpenProjectFolder(dir / "P");
    editor->SpeedButton9Click();
  }
  CommissioningReport Make(const std::atomic<bool>* cancel = nullptr) {
    ReportOptions options;
    options.Work.Cancel = cancel;
    options.MadeAt = "2026-12-09 10:00";
    options.Program = "PWX36 Editor 1.0.0";
    options.Unsaved = editor->HasUnsavedChanges();
    return MakeCommissioningReport(editor->Snapshot(), options);
  }

  testing::TempFolder dir;
  testing::FakeHost host;
  testing::FakeAudioPlayer player;
  std::unique_ptr<Editor> editor;
};

TEST_F(Report, TellsWhatTheSaveWroteAndWhatEachClipIs) {
  const CommissioningReport report = Make();
  EXPECT_FALSE(report.Unsaved);
  EXPECT_EQ(report.RtuLine, testing::ReadWhole(dir / "P/rtu.cfg"));

  ASSERT_EQ(report.Inputs.size(), 4u);
  const ReportInput& di1 = report.Inputs[0];
  EXPECT_EQ(di1.Input, "DI1");
  EXPECT_EQ(di1.Clips, (std::vector<std::string>{"001 Fire alarm", "002 Leave, \"now\""}));
  EXPECT_EQ(di1.Repeat, 2);
  EXPECT_TRUE(di1.AlarmOutput);
  ASSERT_TRUE(di1.TriggerSeconds);
  EXPECT_NEAR(*di1.TriggerSeconds, 4.0, 0.1);
  EXPECT_FALSE(report.Inputs[1].TriggerSeconds);  // 003 has no copy to measure
  EXPECT_TRUE(report.Inputs[2].Silent());

  ASSERT_EQ(report.Clips.size(), 3u);
  EXPECT_EQ(report.Clips[0].Sha256, HexText(HashFile(dir / "P/001.mp3")));
  EXPECT_EQ(report.Clips[1].Channels, 1);
  EXPECT_TRUE(report.Clips[2].Missing);
  EXPECT_EQ(report.Clips[2].Sha256, "");

  // The settings files as the save just wrote them, byte for byte.
  for (const ReportFile& file : report.Files) {
    EXPECT_EQ(file.Sha256, HexText(HashFile(dir / ("P/" + file.Name)))) << file.Name;
  }
  EXPECT_EQ(report.Findings.front().Code, "copy-missing");
}

// The user cancels while the clips are read: the unfinished report is thrown away, and making
// it must not fail over the clips it never read.
TEST_F(Report, CancelledWhileReadingTheClips) {
  const std::atomic<bool> cancel{true};
  CommissioningReport report;
  EXPECT_NO_THROW(report = Make(&cancel));
  EXPECT_TRUE(report.Clips.empty());
}

TEST_F(Report, MarksUnsavedEditsAndDescribesTheNextSave) {
  editor->SetRepeat(0, "5");
  const CommissioningReport report = Make();
  EXPECT_TRUE(report.Unsaved);
  EXPECT_EQ(report.Inputs[0].Repeat, 5);
}

TEST_F(Report, AlarmTableAsCsvQuotesWhereNeeded) {
  const std::string csv = AlarmTableCsv(Make());
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
            "Input,Clips,Repeat,Alarm Output,Seconds per trigger,First sound (s),Total (s),"
            "Segment starts (s),Test result,Tested at,Note");
  EXPECT_NE(csv.find("\r\nDI1,\"001 Fire alarm; 002 Leave, \"\"now\"\"\",2,yes,4."),
            std::string::npos)
      << csv;
  EXPECT_NE(csv.find("\r\nDI2,003 All clear,1,no,,"), std::string::npos);
  EXPECT_NE(csv.find("\r\nDI3,silent,1,no,0.0,,,,not tested,,\r\n"), std::string::npos);
}

TEST_F(Report, PageEscapesNamesAndListsMissingCopies) {
  const std::string html = CommissioningReportHtml(Make());
  EXPECT_NE(html.find("002 Leave, &quot;now&quot;"), std::string::npos);
  EXPECT_EQ(html.find("\"now\""), std::string::npos);
  EXPECT_NE(html.find("<b>Copy 003.mp3 missing</b>"), std::string::npos);
  EXPECT_EQ(html.find("No problems found"), std::string::npos);  // the missing copy
  EXPECT_EQ(html.find("unsaved"), std::string::npos);            // saved just now
}

// A copy too large for the check to read is listed with its size, not as missing, and no
// hash or length is made up for it.
TEST_F(Report, ACopyTooLargeToReadIsListedWithItsSize) {
  fs::resize_file(dir / "P/002.mp3", 200'000'000);
  const CommissioningReport report = Make();
  EXPECT_FALSE(report.Clips[1].Missing);
  EXPECT_TRUE(report.Clips[1].Unread);
  EXPECT_EQ(report.Clips[1].Bytes, 200'000'000u);
  EXPECT_EQ(report.Clips[1].Sha256, "");
  EXPECT_FALSE(report.Inputs[0].TriggerSeconds);
  EXPECT_EQ(report.Findings.front().Code, "copy-too-large");
  const std::string html = CommissioningReportHtml(report);
  EXPECT_NE(html.find("<b>Copy 002.mp3 too large to read</b>"), std::string::npos);
  EXPECT_NE(html.find("200,000,000"), std::string::npos);
}

}  // namespace
}  // namespace pwx
