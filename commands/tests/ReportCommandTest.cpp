// The report command: where its documents go (files, or standard output with "-"), what it
// says where, and what it refuses before anything is read. The page's layout is the
// renderer's; here a stand-in renderer gives recognisable bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "commands/ReportCommand.h"
#include "delivery/tests/CardTestProject.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;

class ReportCommandTest : public ::testing::Test {
 public:
  ReportRequest Request(const std::string& pdf, const std::string& csv = "") {
    ReportRequest request;
    request.Folder = dir / "P";
    request.StartFolder = dir.Path();
    request.Pdf = pdf;
    request.Csv = csv;
    request.MadeAt = "2026-12-09 14:05";
    request.RenderPdf = [this](const std::string& html, const std::string& title,
                               const std::string&, std::string& why) -> std::optional<std::string> {
      ++renders;
      if (renderFails) {
        why = "the renderer is broken";
        return std::nullopt;
      }
      return "%PDF " + title + " " + std::to_string(html.size());
    };
    return request;
  }
  CommandExit Run(const ReportRequest& request) { return ReportToFiles(request, out, err); }

  testing::TempFolder dir;
  testing::CardTestProject project{dir.Path(), dir / "P"};
  std::ostringstream out, err;
  int renders = 0;
  bool renderFails = false;
};

TEST_F(ReportCommandTest, WritesThePdfAndTheAlarmTableAndSaysSoOnStandardOutput) {
  EXPECT_EQ(Run(Request(dir / "r.pdf", dir / "t.csv")), CommandExit::Success) << err.str();
  EXPECT_EQ(testing::ReadWhole(dir / "r.pdf").rfind("%PDF Commissioning report ", 0), 0u);
  EXPECT_NE(testing::ReadWhole(dir / "t.csv").find("DI1"), std::string::npos);
  EXPECT_EQ(out.str(), "Report written to " + dir / "r.pdf" + "\n");
  EXPECT_EQ(err.str(), "");
  // The text form stays with the project, where the next report looks for it, not beside a
  // PDF in a folder that other projects' reports share.
  EXPECT_TRUE(fs::exists(fs::path(dir / "P") / "report.json"));
  EXPECT_FALSE(fs::exists(fs::path(dir.Path()) / "report.json"));
}

TEST_F(ReportCommandTest, DashWritesThePdfToStandardOutputAndNothingElseThere) {
  EXPECT_EQ(Run(Request("-")), CommandExit::Success) << err.str();
  EXPECT_EQ(out.str().rfind("%PDF Commissioning report ", 0), 0u);
  EXPECT_EQ(out.str().find("Report written"), std::string::npos);
  EXPECT_EQ(err.str(), "");
}

TEST_F(ReportCommandTest, AlarmTableOnStandardOutputMovesTheMessageToStandardError) {
  EXPECT_EQ(Run(Request(dir / "r.pdf", "-")), CommandExit::Success) << err.str();
  EXPECT_EQ(out.str().rfind("Input,Clips,Repeat,", 0), 0u) << out.str();
  EXPECT_EQ(err.str(), "Report written to " + dir / "r.pdf" + "\n");
  EXPECT_TRUE(fs::exists(dir / "r.pdf"));
}

struct StreamRefusal {
  const char* name;
  std::string pdf, csv;
  bool terminal;
  std::string message;
};

void PrintTo(const StreamRefusal& c, std::ostream* os) {
  *os << c.name;
}

class ReportStreams : public ReportCommandTest,
                      public ::testing::WithParamInterface<StreamRefusal> {};

TEST_P(ReportStreams, AreRefusedBeforeAnythingIsRead) {
  ReportRequest request = Request(GetParam().pdf, GetParam().csv);
  request.OutIsTerminal = GetParam().terminal;
  EXPECT_EQ(Run(request), CommandExit::CannotRun);
  EXPECT_EQ(err.str(), GetParam().message + "\n");
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(renders, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReportStreams,
    ::testing::Values(
        StreamRefusal{"BothToStandardOutput", "-", "-", false,
                      "The PDF and the alarm table cannot both go to standard output; name a "
                      "file for one of them."},
        StreamRefusal{"PdfToATerminal", "-", "", true,
                      "The PDF is not written to a terminal: redirect standard output to a "
                      "file or a program, or name a file."},
        StreamRefusal{"TableToATerminal", "r.pdf", "-", true,
                      "The alarm table is not written to a terminal: redirect standard output "
                      "to a file or a program, or name a file."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportCommandTest, ARendererThatFailsWritesNothingAndSaysWhy) {
  renderFails = true;
  EXPECT_EQ(Run(Request(dir / "r.pdf")), CommandExit::CannotRun);
  EXPECT_FALSE(fs::exists(dir / "r.pdf"));
  EXPECT_NE(err.str().find("the renderer is broken"), std::string::npos) << err.str();
  EXPECT_EQ(out.str(), "");
}

TEST_F(ReportCommandTest, ACancelBeforeTheLayoutWritesNothing) {
  std::atomic<bool> cancel{true};
  ReportRequest request = Request(dir / "r.pdf");
  request.Cancel = &cancel;
  EXPECT_EQ(Run(request), CommandExit::Interrupted);
  EXPECT_FALSE(fs::exists(dir / "r.pdf"));
  EXPECT_EQ(err.str(), "Interrupted: no report was written.\n");
  EXPECT_EQ(out.str(), "");
}

TEST_F(ReportCommandTest, ProgressGoesToStandardErrorALineAStep) {
  ReportRequest request = Request(dir / "r.pdf");
  request.Progress = ProgressPrinter::Mode::Lines;
  EXPECT_EQ(Run(request), CommandExit::Success);
  EXPECT_EQ(err.str(),
            "Reading the clips: 1 of 3\nReading the clips: 2 of 3\nReading the clips: 3 of 3\n");
  EXPECT_EQ(out.str(), "Report written to " + dir / "r.pdf" + "\n");
}

}  // namespace
}  // namespace pwx
