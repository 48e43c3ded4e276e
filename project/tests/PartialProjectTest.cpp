// Project folders as people leave them: one of the two project files missing, a pointer
// written by hand, the settings of the folder that is opened, files that are no files.
#include "audio/tests/Mp3Bytes.h"
#include "common/IntegerText.h"
#include "common/tests/NamedPipe.h"
#include "devicefiles/NameMapFile.h"
#include "project/tests/EditorFixture.h"

namespace pwx {
namespace {

using testing::NameMapBytes;
using testing::PlayListBytes;
using testing::ReadWhole;
using testing::WriteFile;

using PartialProject = testing::EditorTest;

// A play list as a save writes it.
std::string SavedPlayListBytes(int mode = 0) {
  return PlayListBytes().Mode(mode).Saved().Bytes();
}

TEST_F(PartialProject, NameMapWithoutPlayListKeepsItsClipsThroughImportAndSave) {
  // What importing clips and closing before the first save leaves behind.
  std::filesystem::create_directories(start / "P");
  WriteFile(start / "P/m3fn.txt",
            NameMapBytes({{1, "/s/a.mp3"}, {2, "/s/b.mp3"}, {3, "/s/c.mp3"}}));
  StartWithProject("P");
  EXPECT_EQ(editor->ClipChoices(), (std::vector<std::string>{"None", "001", "002", "003"}));

  WriteFile(start / "d.mp3", testing::Mp3Bytes("d"));
  editor->StringGrid1Click(4, 1);
  host.fileAnswers.push_back(start / "d.mp3");
  editor->StringGrid1DblClick();
  editor->SpeedButton9Click();
  EXPECT_EQ(
      ReadWhole(ProjectDir("P") + "m3fn.txt"),
      NameMapBytes({{1, "/s/a.mp3"}, {2, "/s/b.mp3"}, {3, "/s/c.mp3"}, {4, start / "d.mp3"}}));
  EXPECT_EQ(ReadWhole(ProjectDir("P") + "plist.cfg"), SavedPlayListBytes());
}

TEST_F(PartialProject, PlayListWithoutNameMapKeepsModeRepeatsAndOutputs) {
  std::filesystem::create_directories(start / "P");
  std::string plist = SavedPlayListBytes(6);
  plist[96 + 2] = 9;
  plist[160 + 2] = 1;
  WriteFile(start / "P/plist.cfg", plist);
  StartWithProject("P");
  EXPECT_EQ(editor->Project().Mode.Value, 6);
  EXPECT_EQ(editor->Project().Slots[2].Repeat, "9");
  EXPECT_TRUE(editor->Project().Slots[2].AlarmOutput);
  EXPECT_EQ(editor->Project().Library, AudioLibrary{});
  editor->SpeedButton9Click();
  EXPECT_EQ(ReadWhole(ProjectDir("P") + "plist.cfg"), plist);
}

TEST_F(PartialProject, PointerWithoutTheFinalSeparatorStillNamesTheFolder) {
  std::filesystem::create_directories(start / "P1");
  WriteFile(start / "P1/vol.cfg", "7");
  WriteFile(start / "P1vol.cfg", "3");  // where the glued name would point
  WriteFile(start / "PRJ.cfg", (start / "P1") + "\r\n");
  Start();
  EXPECT_EQ(editor->Dirs().Work_DIR, ProjectDir("P1"));
  EXPECT_EQ(editor->Project().Volume, 7);
  EXPECT_EQ(editor->StatusText(), "");
  editor->SpeedButton9Click();
  EXPECT_TRUE(FileExists(ProjectDir("P1") + "plist.cfg"));
  EXPECT_FALSE(FileExists(start / "P1plist.cfg"));
}

class PointerToNoFolder : public testing::EditorTest,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(PointerToNoFolder, OpensEmptyAndSaysSoInTheStatusLine) {
  const std::string named = start / GetParam();
  if (std::string(GetParam()) == "a file") WriteFile(named, "not a folder");
  WriteFile(start / "PRJ.cfg", named + "/\r\n");
  Start();
  EXPECT_EQ(editor->Dirs().Work_DIR, named + "/");
  EXPECT_EQ(editor->StatusText(), "Project folder not found: " + named + "/");
  EXPECT_EQ(editor->Project().Volume, 5);
  EXPECT_EQ(editor->ClipChoices(), std::vector<std::string>{"None"});
  EXPECT_FALSE(FolderExists(named));
  EXPECT_TRUE(host.errorBoxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Names, PointerToNoFolder, ::testing::Values("gone", "a file"),
                         [](const auto& info) {
                           return std::string(info.param) == "gone" ? "Missing" : "File";
                         });

TEST_F(PartialProject, NameMapWithALineLongerThanAnyPathSaysSoOnce) {
  std::filesystem::create_directories(start / "P");
  WriteFile(start / "P/m3fn.txt",
            NameMapBytes({{1, "/s/a.mp3"}, {2, std::string(100000, 'x')}, {5, "/s/e.mp3"}}));
  WriteFile(start / "P/plist.cfg", PlayListBytes().Bytes());
  StartWithProject("P");
  EXPECT_EQ(editor->ClipChoices(), (std::vector<std::string>{"None", "001", "005"}));
  EXPECT_EQ(editor->StatusText(),
            "m3fn.txt: line 2 is longer than any path and was left out; clip 002 stays free");
  EXPECT_TRUE(host.errorBoxes.empty());
}

// Copies NNN.mp3 in the folder while the name map lacks their lines: the library lists them
// from the copies, so the play list's references to them survive the next save.
struct CopiesCase {
  const char* name;
  std::optional<std::string> map;  // m3fn.txt, or none
  std::vector<int> listed;         // the clips listed from their copies
  const char* status;
  friend void PrintTo(const CopiesCase& c, std::ostream* os) { *os << c.name; }
};

class CopiesWithoutLines : public testing::EditorTest,
                           public ::testing::WithParamInterface<CopiesCase> {};

TEST_P(CopiesWithoutLines, AreListedAndKeepTheirPlaces) {
  const CopiesCase& c = GetParam();
  std::filesystem::create_directories(start / "P");
  const std::string dir = ProjectDir("P");
  for (const char* copy : {"001.mp3", "003.mp3", "005.mp3", "007.mp3"})
    WriteFile(dir + copy, "ID3");
  // DI1 plays 1, 3 and 5; clip 7 is played by no input.
  const std::string plist = PlayListBytes().Saved().Slot(0, {1, 3, 5}, 2).Bytes();
  WriteFile(dir + "plist.cfg", plist);
  if (c.map) WriteFile(dir + "m3fn.txt", *c.map);
  StartWithProject("P");
  for (const int clip : c.listed) {
    EXPECT_EQ(editor->GridCell(clip, 1), ThreeDigits(clip));
    EXPECT_EQ(editor->Project().Library.Entry(clip).Full_FN, dir + ThreeDigits(clip) + ".mp3");
  }
  EXPECT_EQ(editor->StatusText(), c.status);
  EXPECT_FALSE(editor->HasUnsavedChanges());
  editor->SpeedButton9Click();
  EXPECT_EQ(ReadWhole(dir + "plist.cfg"), plist);
  AudioLibrary saved;
  DiagnosticLog log;
  DecodeNameMap(ReadWhole(dir + "m3fn.txt"), saved, log);
  for (const int clip : c.listed) {
    EXPECT_EQ(saved.Entry(clip).Full_FN, dir + ThreeDigits(clip) + ".mp3") << clip;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Maps, CopiesWithoutLines,
    ::testing::Values(
        CopiesCase{"NoNameMap",
                   std::nullopt,
                   {1, 3, 5, 7},
                   "m3fn.txt is missing: clips 001, 003, 005, 007 are listed from their copies "
                   "in the project folder"},
        CopiesCase{"TwoLines",
                   "\xEF\xBB\xBF/s/a.mp3\r\n\r\n",
                   {3, 5, 7},
                   "m3fn.txt names no source for clips 003, 005, 007; they are listed from "
                   "their copies in the project folder"},
        // An empty line of a whole map is a clip removed; only a played one comes back, and
        // an unplayed copy stays what the check calls stray.
        CopiesCase{"EmptyLineOfAPlayedClip",
                   NameMapBytes({{1, "/s/a.mp3"}, {5, "/s/e.mp3"}}),
                   {3},
                   "m3fn.txt names no source for clip 003; it is listed from its copy in the "
                   "project folder"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PartialProject, StrayCopyOfAWholeMapStaysFree) {
  std::filesystem::create_directories(start / "P");
  WriteFile(ProjectDir("P") + "007.mp3", "ID3");
  WriteFile(ProjectDir("P") + "m3fn.txt", NameMapBytes({{1, "/s/a.mp3"}}));
  StartWithProject("P");
  EXPECT_EQ(editor->ClipChoices(), (std::vector<std::string>{"None", "001"}));
  EXPECT_EQ(editor->StatusText(), "");
}

class PipeForAProjectFile : public testing::EditorTest,
                            public ::testing::WithParamInterface<const char*> {};

TEST_P(PipeForAProjectFile, IsRefusedAndTheStartUpFinishes) {
  std::filesystem::create_directories(start / "P");
  WriteFile(start / "P/m3fn.txt", NameMapBytes({}));
  WriteFile(start / "P/plist.cfg", PlayListBytes().Bytes());
  std::filesystem::remove(start / ("P/" + std::string(GetParam())));
  const std::string pipe = ProjectDir("P") + GetParam();
  testing::MakeNamedPipe(pipe);
  EXPECT_TRUE(testing::ReturnsWithoutWaitingOn(pipe, [&] { StartWithProject("P"); }));
  EXPECT_EQ(host.errorBoxes, std::vector<std::string>{"\"" + pipe + "\" is not a regular file"});
  EXPECT_TRUE(editor->StartupDone());
}

INSTANTIATE_TEST_SUITE_P(Files, PipeForAProjectFile,
                         ::testing::Values("m3fn.txt", "plist.cfg", "vol.cfg", "rtu.cfg"),
                         [](const auto& info) {
                           std::string name = info.param;
                           return name.substr(0, name.find('.'));
                         });

// --- Load Project -------------------------------------------------------------------------

// Nothing of the project loaded before may stay behind to be saved into the new folder.
TEST_F(PartialProject, ProjectFileThatCannotBeReadLeavesNothingOfThePreviousProject) {
  std::filesystem::create_directories(start / "A");
  WriteFile(start / "A/m3fn.txt", NameMapBytes({{1, "/s/a.mp3"}, {2, "/s/b.mp3"}}));
  WriteFile(start / "A/plist.cfg", SavedPlayListBytes(6));
  StartWithProject("A");
  std::filesystem::create_directories(start / "B");
  const std::string pipe = ProjectDir("B") + "m3fn.txt";
  testing::MakeNamedPipe(pipe);
  WriteFile(start / "B/plist.cfg", SavedPlayListBytes(2));
  host.folderAnswers.push_back(start / "B");
  editor->Handle([&] { editor->SpeedButton7Click(); });
  EXPECT_EQ(host.errorBoxes, std::vector<std::string>{"\"" + pipe + "\" is not a regular file"});
  EXPECT_EQ(editor->ClipChoices(), std::vector<std::string>{"None"});
  EXPECT_EQ(editor->Project().Mode.Value, 2);
  editor->SpeedButton9Click();
  EXPECT_EQ(ReadWhole(ProjectDir("B") + "plist.cfg"), SavedPlayListBytes(2));
}

struct LoadCase {
  const char* name;
  const char* rtu;  // the loaded folder's rtu.cfg and vol.cfg, or none
  const char* volume;
  ModbusRtuSettings settings;  // what the window shows after loading
  int shownVolume;
};

class LoadedSettings : public testing::EditorTest,
                       public ::testing::WithParamInterface<LoadCase> {};

// A project's own settings replace those shown; a folder without them carries them over,
// and the next save writes what is shown.
TEST_P(LoadedSettings, AreTheFolderOwnOrCarriedOver) {
  std::filesystem::create_directories(start / "A");
  WriteFile(start / "A/rtu.cfg", "12,9600,E,8,1");
  WriteFile(start / "A/vol.cfg", "3");
  StartWithProject("A");
  std::filesystem::create_directories(start / "B");
  if (GetParam().rtu) WriteFile(start / "B/rtu.cfg", GetParam().rtu);
  if (GetParam().volume) WriteFile(start / "B/vol.cfg", GetParam().volume);
  host.folderAnswers.push_back(start / "B");
  editor->SpeedButton7Click();
  EXPECT_EQ(editor->Project().Settings, GetParam().settings);
  EXPECT_EQ(editor->Project().Volume, GetParam().shownVolume);
  editor->SpeedButton9Click();
  EXPECT_EQ(ReadWhole(ProjectDir("B") + "vol.cfg"), std::to_string(GetParam().shownVolume));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, LoadedSettings,
    ::testing::Values(
        LoadCase{"OwnSettings", "99,300,O,8,2", "8", {"99", "300", "Odd", "8", "2"}, 8},
        LoadCase{"NoSettings", nullptr, nullptr, {"12", "9600", "Even", "8", "1"}, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PartialProject, SettingsThatCannotBeReadKeepTheShownOnesAndSaySo) {
  StartWithProject("A");
  editor->SetDeviceId("12");
  std::filesystem::create_directories(start / "B");
  WriteFile(start / "B/rtu.cfg", "");
  WriteFile(start / "B/vol.cfg", "loud");
  host.saveAnswers.push_back(Host::SaveAnswer::Discard);
  host.folderAnswers.push_back(start / "B");
  editor->SpeedButton7Click();
  EXPECT_EQ(host.errorBoxes, (std::vector<std::string>{"'loud' is not a valid integer value",
                                                       "List index out of bounds (0)"}));
  EXPECT_EQ(editor->Project().Settings.DeviceId, "12");
  EXPECT_EQ(editor->Dirs().Work_DIR, ProjectDir("B"));
}

}  // namespace
}  // namespace pwx
