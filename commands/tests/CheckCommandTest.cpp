// The check of a folder from the command line: what it prints, its exit status, and the
// folders it refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "commands/CheckCommand.h"
#include "common/tests/TempFolder.h"
#include "devicefiles/tests/ProjectFileBytes.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;
using testing::WriteFile;

// A saved project in <temp>/P: clip 1 in DI1, its source beside the project; an Err1.mp3
// that is not the editor's.
class FolderCheck : public ::testing::Test {
 public:
  void SetUp() override {
    fs::create_directories(dir / "P");
    const std::string clip = std::string(PWX_CLIP_FIXTURES) + "/mpeg1-stereo-cbr.mp3";
    fs::copy_file(clip, dir / "source \"one\".mp3");
    fs::copy_file(clip, dir / "P/001.mp3");
    WriteFile(dir / "P/m3fn.txt", testing::NameMapBytes({{1, dir / "source \"one\".mp3"}}));
    WriteFile(dir / "P/plist.cfg", testing::PlayListBytes().Saved().Slot(0, {1}).Bytes());
    WriteFile(dir / "P/Err1.mp3", "not the error clip");
  }
  CommandExit Run(std::string folder, bool json = false) {
    out.str({});
    err.str({});
    return CheckFolderCommand(
        {std::move(folder), dir.Path(), json, ProgressPrinter::Mode::Quiet, nullptr}, out, err);
  }

  testing::TempFolder dir;
  std::ostringstream out, err;
};

TEST_F(FolderCheck, PrintsOneLinePerFindingErrorsFirstAndASummary) {
  fs::remove(dir / "P/001.mp3");
  EXPECT_EQ(Run(dir / "P"), CommandExit::Failed);
  EXPECT_EQ(out.str(),
            "error: clip 001, 001.mp3: Clip 001 \"source \"one\"\" has no copy 001.mp3 in the "
            "project folder; import it again.\n"
            "warning: Err1.mp3: Err1.mp3 differs from the error clip the editor writes; save "
            "the project to write it.\n"
            "info: DI2: DI2 has no clip: it stays silent when it fires.\n"
            "info: DI3: DI3 has no clip: it stays silent when it fires.\n"
            "info: DI4: DI4 has no clip: it stays silent when it fires.\n"
            "Check: 1 error, 1 warning\n");
  EXPECT_EQ(err.str(), "");
}

TEST_F(FolderCheck, PrintsJsonWithNullsWhereAFindingHasNoPlace) {
  EXPECT_EQ(Run(dir / "P", true), CommandExit::Success);
  const std::string json = out.str();
  EXPECT_EQ(json.substr(0, 2), "[\n");
  EXPECT_EQ(json.substr(json.size() - 4), "}\n]\n");
  // Each finding an object of its own, its fields in this order, on lines of their own.
  const auto object = [](const std::string& fields) { return "  {\n" + fields + "  }"; };
  EXPECT_NE(json.find(object("    \"severity\": \"warning\",\n"
                             "    \"code\": \"error-clip-missing\",\n"
                             "    \"clip\": null,\n"
                             "    \"input\": null,\n"
                             "    \"file\": \"Err1.mp3\",\n"
                             "    \"message\": \"Err1.mp3 differs from the error clip the "
                             "editor writes; save the project to write it.\"\n")),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("    \"code\": \"input-silent\",\n    \"clip\": null,\n"
                      "    \"input\": \"DI2\",\n    \"file\": null,\n"),
            std::string::npos);
  EXPECT_NE(json.find("    \"code\": \"copy-format\",\n    \"clip\": 1,\n"
                      "    \"input\": null,\n    \"file\": \"001.mp3\",\n"
                      "    \"message\": \"001.mp3: MPEG-1"),
            std::string::npos);
}

// On a terminal one line rewritten and cleared at the end; in a log a line for the step;
// nothing when quiet. The results stay on standard output all the same.
TEST_F(FolderCheck, ProgressGoesToStandardErrorAsAskedFor) {
  const std::string line = "Decoding the clips: 1 of 1";
  for (const auto& [mode, shown] :
       {std::pair{ProgressPrinter::Mode::InPlace,
                  "\r" + line + "\r" + std::string(line.size(), ' ') + "\r"},
        {ProgressPrinter::Mode::Lines, std::string("Decoding the clips: 1 of 1\n")},
        {ProgressPrinter::Mode::Quiet, std::string()}}) {
    out.str({});
    err.str({});
    FolderCheckRequest request{dir / "P", dir.Path(), false, mode, nullptr};
    EXPECT_EQ(CheckFolderCommand(request, out, err), CommandExit::Success);
    EXPECT_EQ(err.str(), shown);
    EXPECT_NE(out.str().find("Check: 1 warning\n"), std::string::npos);
  }
}

TEST_F(FolderCheck, WithoutAFolderChecksTheOneTheStartUpOpens) {
  EXPECT_EQ(Run(""), CommandExit::CannotRun);  // the start folder itself holds no project
  WriteFile(dir / "PRJ.cfg", (dir / "P") + "\r\n");
  EXPECT_EQ(Run(""), CommandExit::Success);
  EXPECT_NE(out.str().find("Check: 1 warning\n"), std::string::npos);
}

struct RefusedCase {
  const char* name;
  std::function<std::string(const testing::TempFolder&)> folder;
  std::string error;  // the start of what is printed to stderr
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
  *os << c.name;
}

class RefusedFolders : public FolderCheck, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedFolders, ExitWithTwoAndSayWhy) {
  const std::string folder = GetParam().folder(dir);
  EXPECT_EQ(Run(folder), CommandExit::CannotRun);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str().substr(0, GetParam().error.size()), GetParam().error) << err.str();
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedFolders,
    ::testing::Values(RefusedCase{"Missing", [](const auto& d) { return d / "nothing"; },
                                  "Project folder not found: "},
                      RefusedCase{"AFile", [](const auto& d) { return d / "P/plist.cfg"; },
                                  "Project folder not found: "},
                      RefusedCase{"NoProjectFiles",
                                  [](const auto& d) {
                                    fs::create_directory(d / "empty");
                                    return d / "empty";
                                  },
                                  "Not a project folder: "},
                      RefusedCase{"NameMapIsAFolder",
                                  [](const auto& d) {
                                    fs::remove(d / "P/m3fn.txt");
                                    fs::create_directory(d / "P/m3fn.txt");
                                    return d / "P";
                                  },
                                  "Cannot open file \""}),
    [](const auto& info) { return std::string(info.param.name); });

// A 0-byte name map is a project whose library lost its lines: its clips are listed from
// their copies, so its inputs still name them and no copy is stray.
TEST_F(FolderCheck, AnEmptyNameMapIsCheckedNotRefused) {
  WriteFile(dir / "P/m3fn.txt", "");
  EXPECT_EQ(Run(dir / "P"), CommandExit::Success);
  EXPECT_EQ(out.str().find("error: "), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("info: clip 001, 001.mp3: 001.mp3: MPEG-1"), std::string::npos);
  EXPECT_EQ(out.str().find("is in the project folder"), std::string::npos);
}

}  // namespace
}  // namespace pwx
