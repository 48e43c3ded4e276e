// Where a report may go: never over one of the project's own files, whatever the spelling
// that leads there, and never twice into one file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "common/FolderLock.h"
#include "common/tests/TempFolder.h"
#include "delivery/ReportFiles.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::WriteFile;

// A start folder with PRJ.cfg and a project folder P with its files, a folder link L to P
// and a subfolder of its own.
class ReportFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    start.MakeCurrent();
    fs::create_directories(start / "P/notes");
    for (const char* name :
         {"plist.cfg", "rtu.cfg", "vol.cfg", "Err1.mp3", "m3fn.txt", "001.mp3"}) {
      WriteFile(start / ("P/" + std::string(name)), name);
    }
    WriteFile(start / "PRJ.cfg", start / "P/\r\n");
    fs::create_directory_symlink(start / "P", start / "L");
    fs::create_symlink(start / "P/Err1.mp3", start / "planted.pdf");
    fs::create_hard_link(start / "P/rtu.cfg", start / "hard.pdf");
    WriteFile(start / "a.pdf", "an older report");
    fs::create_symlink(start / "a.pdf", start / "to-a.csv");
  }
  std::optional<std::string> Refusal(const std::vector<std::string>& outputs) {
    return RefusalOfReportFiles(outputs, start / "P", start.Path());
  }

  TempFolder start;
};

struct PathCase {
  const char* name;
  std::vector<std::string> outputs;  // relative to the start folder, the current directory
  const char* refusedAs;             // what the refusal names, or nothing when allowed
  friend void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }
};

class OutputPaths : public ReportFiles, public ::testing::WithParamInterface<PathCase> {};

TEST_P(OutputPaths, AreRefusedOnlyWhenTheyAreTheProjectsOwnOrOneFile) {
  const PathCase& c = GetParam();
  const auto refusal = Refusal(c.outputs);
  if (!c.refusedAs) {
    EXPECT_EQ(refusal, std::nullopt);
    return;
  }
  ASSERT_TRUE(refusal);
  EXPECT_NE(refusal->find(c.refusedAs), std::string::npos) << *refusal;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, OutputPaths,
    ::testing::Values(
        PathCase{"PlayList", {"P/plist.cfg"}, "is the project's plist.cfg"},
        PathCase{"CsvOverTheNameMap", {"r.pdf", "P/m3fn.txt"}, "is the project's m3fn.txt"},
        PathCase{"ClipNotYetImported", {"P/017.mp3"}, "is the project's 017.mp3"},
        PathCase{"PointerNameInTheProject", {"P/PRJ.cfg"}, "is the project's PRJ.cfg"},
        PathCase{"OtherLetterCase", {"P/PLIST.CFG"}, "is the project's plist.cfg"},
        PathCase{"AnotherSpelling", {"P/notes/../vol.cfg"}, "is the project's vol.cfg"},
        PathCase{"ThroughAFolderLink", {"L/001.mp3"}, "is the project's 001.mp3"},
        PathCase{"LinkPlantedAtTheName", {"planted.pdf"}, "is the project's Err1.mp3"},
        PathCase{"HardLink", {"hard.pdf"}, "is the project's rtu.cfg"},
        PathCase{"StartFoldersPointer", {"prj.cfg"}, "is the start folder's PRJ.cfg"},
        PathCase{"SameFileTwice", {"r.pdf", "./r.pdf"}, "are the same file"},
        PathCase{"SameFileThroughALink", {"a.pdf", "to-a.csv"}, "are the same file"},
        PathCase{"ReportInTheProjectFolder", {"P/report.pdf", "P/report.csv"}, nullptr},
        PathCase{"ProjectNameInASubfolder", {"P/notes/plist.cfg"}, nullptr},
        PathCase{"OtherLetterCaseOfAnotherFile", {"r.pdf", "R.PDF"}, nullptr},
        PathCase{"BesideTheProject", {"P report.pdf", "P report.csv"}, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// A bind mount of the project folder reaches its files under another path.
TEST_F(ReportFiles, BindMountOfTheProjectIsTheProject) {
  fs::create_directory(start / "B");
  const std::string mount =
      "mount --bind '" + (start / "P") + "' '" + (start / "B") + "' 2>/dev/null";
  if (geteuid() != 0 || std::system(mount.c_str()) != 0)
    GTEST_SKIP() << "skipped: no bind mount here";
  const auto refusal = Refusal({"B/m3fn.txt"});
  const auto subfolder = Refusal({"B/notes/m3fn.txt"});
  std::system(("umount '" + (start / "B") + "'").c_str());
  ASSERT_TRUE(refusal);
  EXPECT_NE(refusal->find("is the project's m3fn.txt"), std::string::npos);
  EXPECT_EQ(subfolder, std::nullopt);
}

// On a FAT card every spelling of a name in another letter case is the same file, even where
// the file system gives each spelling an identity of its own.
TEST_F(ReportFiles, OtherLetterCaseOnAFatCardIsTheSameFile) {
  fs::create_directory(start / "card");
  const std::string image = start / "card.img";
  const std::string make = "mkfs.vfat -C '" + image + "' 400 >/dev/null 2>&1 && fusefat -o rw+ '" +
                           image + "' '" + (start / "card") + "' >/dev/null 2>&1";
  if (std::system(make.c_str()) != 0) GTEST_SKIP() << "skipped: no FAT image can be mounted here";
  fs::create_directory(start / "card/Hall");
  WriteFile(start / "card/Hall/plist.cfg", "play list");
  const auto overPlayList =
      RefusalOfReportFiles({"card/HALL/PLIST.CFG"}, start / "card/Hall", start.Path());
  const auto twoSpellings = RefusalOfReportFiles({"card/hall/r.pdf", "card/HALL/R.PDF"},
                                                 start / "card/Hall", start.Path());
  const auto twoFiles = RefusalOfReportFiles({"card/hall/r.pdf", "card/HALL/r.csv"},
                                             start / "card/Hall", start.Path());
  std::system(("fusermount -u '" + (start / "card") + "'").c_str());
  ASSERT_TRUE(overPlayList && twoSpellings);
  EXPECT_NE(overPlayList->find("is the project's plist.cfg"), std::string::npos) << *overPlayList;
  EXPECT_NE(twoSpellings->find("are the same file"), std::string::npos) << *twoSpellings;
  EXPECT_EQ(twoFiles, std::nullopt);
}

// In the project folder the report waits for another program's change to end, so its
// temporary is never taken for one that a killed run left.
TEST_F(ReportFiles, ReportInTheProjectFolderWaitsForItsLock) {
  auto held = std::make_unique<FolderLock>(start / "P");
  std::thread writer([&] { WriteReportFile(start / "P/report.pdf", "%PDF", start / "L"); });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(fs::exists(start / "P/report.pdf"));
  held.reset();
  writer.join();
  EXPECT_EQ(testing::ReadWhole(start / "P/report.pdf"), "%PDF");
}

}  // namespace
}  // namespace pwx
