// Names and paths from a project folder that would act on a terminal (escape sequences,
// control characters, bytes that are no UTF-8) reach the commands' text output escaped, in
// findings, plan lines, summaries and errors alike; ordinary text in any script stays as it
// is.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "commands/CardCommands.h"
#include "commands/CheckCommand.h"
#include "commands/ImportCommand.h"
#include "common/FileSystem.h"
#include "common/MessageText.h"
#include "common/tests/TempFolder.h"
#include "devicefiles/tests/ProjectFileBytes.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;
using testing::WriteFile;

struct HostileCase {
  const char* name;
  std::string text;  // put into folder names, file names and the name map
  std::string shown;
};

void PrintTo(const HostileCase& hostile, std::ostream* out) {
  *out << hostile.name;
}

// Where the text holds a byte that a terminal would act on, or that is no UTF-8: an empty
// text when there is none. A line break ends each line.
std::string RawControl(const std::string& output) {
  for (std::size_t at = 0; at < output.size();) {
    const std::size_t length = Utf8SequenceLength(std::string_view(output).substr(at));
    const auto byte = static_cast<unsigned char>(output[at]);
    const bool control = (byte < 0x20 && byte != '\n') || byte == 0x7F;
    const bool c1 =
        byte == 0xC2 && length == 2 && static_cast<unsigned char>(output[at + 1]) < 0xA0;
    const bool reordering = output.compare(at, 3, "\xE2\x80\xAE") == 0;
    if (length == 0 || control || c1 || reordering) return output.substr(at, 12);
    at += length;
  }
  return {};
}

class HostileText : public ::testing::TestWithParam<HostileCase> {
 public:
  // A saved project in "P<text>" whose clip 001 came from "<text>.mp3", which is gone (a
  // name map has one path a line, so a text that breaks lines is only in folder names).
  void SetUp() override {
    const std::string& text = GetParam().text;
    inNameMap = !HasLineBreak(text);
    project = dir / ("P" + text);
    fs::create_directories(PathOf(project));
    const std::string fixtures = PWX_CLIP_FIXTURES;
    fs::copy_file(fixtures + "/mpeg1-stereo-cbr.mp3", PathOf(project + "/001.mp3"));
    WriteFile(project + "/m3fn.txt",
              testing::NameMapBytes({{1, dir / ((inNameMap ? text : "gone") + ".mp3")}}));
    WriteFile(project + "/plist.cfg", testing::PlayListBytes().Saved().Slot(0, {1}).Bytes());
    WriteFile(project + "/vol.cfg", "5");
    WriteFile(project + "/rtu.cfg", "1,9600,N,8,1");
    WriteFile(project + "/Err1.mp3", "not the error clip");
    card = dir / ("C" + text);
    fs::create_directories(PathOf(card));
  }

  // What a command printed, on both streams: never the raw text, and the text as shown where
  // the command names a path or file of the project.
  void Expect(CommandExit exit, CommandExit expected, const char* command, bool named = true) {
    const std::string printed = out.str() + err.str();
    EXPECT_EQ(exit, expected) << command << ":\n" << printed;
    EXPECT_EQ(RawControl(printed), "") << command << ":\n" << printed;
    if (named) {
      EXPECT_NE(printed.find(GetParam().shown), std::string::npos) << command << ":\n" << printed;
    }
    out.str({});
    err.str({});
  }

  testing::TempFolder dir;
  bool inNameMap = true;
  std::string project, card;
  std::ostringstream out, err;
};

TEST_P(HostileText, IsShownEscapedByEveryCommand) {
  Expect(CheckFolderCommand({project, dir.Path()}, out, err), CommandExit::Success, "check",
         inNameMap);
  Expect(CheckFolderCommand({project + "-gone", dir.Path()}, out, err), CommandExit::CannotRun,
         "check of a missing folder");

  CardCommandRequest request;
  request.Folder = project;
  request.Destination = card;
  request.StartFolder = dir.Path();
  request.DryRun = true;
  Expect(DeployCommand(request, out, err), CommandExit::Success, "deploy --dry-run");
  request.DryRun = false;
  Expect(DeployCommand(request, out, err), CommandExit::Success, "deploy");
  Expect(CompareCommand(request, out, err), CommandExit::Success, "compare", false);
  request.Destination = project + "/";
  Expect(DeployCommand(request, out, err), CommandExit::CannotRun, "deploy into the project",
         false);

  ImportRequest import;
  import.Folder = project;
  import.Number = 2;
  import.StartFolder = dir.Path();
  import.File = dir / (GetParam().text + ".wav");
  WriteFile(import.File, "no sound in here");
  Expect(ImportClipCommand(import, out, err), CommandExit::Failed, "import of no sound");
  import.File = dir / (GetParam().text + " 2.mp3");
  fs::copy_file(PathOf(project + "/001.mp3"), PathOf(import.File));
  // A path with a line break cannot go into the name map: refused, and named.
  Expect(ImportClipCommand(import, out, err),
         inNameMap ? CommandExit::Success : CommandExit::Failed, "import");
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostileText,
    ::testing::Values(HostileCase{"Colour", "\x1B[31mred", "\\x1b[31mred"},
                      HostileCase{"WindowTitle", "\x1B]0;owned\x07", "\\x1b]0;owned\\x07"},
                      HostileCase{"LineBreak", "two\nlines", "two\\x0alines"},
                      HostileCase{"CarriageReturn", "over\rwritten", "over\\x0dwritten"},
                      HostileCase{"C1Csi",
                                  "\xC2\x9B"
                                  "2J",
                                  "\\xc2\\x9b2J"},
                      HostileCase{"Latin1Byte", "Durchsage \xE4", "Durchsage \\xe4"},
                      HostileCase{"Reordered",
                                  "evil\xE2\x80\xAE"
                                  "3pm",
                                  "evil\\xe2\\x80\\xae3pm"},
                      HostileCase{"OrdinaryText", "Durchsage \xC3\xA4 \xE6\x97\xA5\xE6\x9C\xAC",
                                  "Durchsage \xC3\xA4 \xE6\x97\xA5\xE6\x9C\xAC"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pwx
