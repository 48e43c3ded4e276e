#include "project/tests/EditorFixture.h"

namespace pwx {
namespace {

using testing::EditorTest;
using testing::NameMapBytes;
using testing::PlayListBytes;
using testing::WriteFile;

TEST_F(EditorTest, FirstStartInAnEmptyFolder) {
  Start();
  EXPECT_TRUE(FolderExists(start / "work"));
  EXPECT_TRUE(FolderExists(start / "temp"));
  EXPECT_FALSE(FileExists(start / "PRJ.cfg"));
  EXPECT_EQ(editor->Dirs().Work_DIR, "");
  EXPECT_EQ(editor->ProjectDirLabel(), "");
  EXPECT_EQ(editor->Project().Mode, AlarmMode{});
  EXPECT_EQ(editor->VolumeLabel(), "5");
  EXPECT_EQ(editor->Project().Settings, ModbusRtuSettings{});
  EXPECT_EQ(editor->Project().Settings.BaudRate, "115200");
  EXPECT_EQ(editor->View().FirstGroupCaption, "Mode 0-3, Digital Pin Input(DI1~DI4)");
  EXPECT_TRUE(host.errorBoxes.empty());
  EXPECT_TRUE(editor->StartupDone());
}

TEST_F(EditorTest, RootStartFolderDoublesTheSeparator) {
  Editor rooted(host, player, "/");
  EXPECT_EQ(rooted.Dirs().Work_DIR, "//work/");
  EXPECT_EQ(rooted.Dirs().Temp_DIR, "//temp/");
}

struct PointerCase {
  const char* name;
  std::string content;  // "<P>" stands for the project folder without its separator
  std::string workDir;
};

class ProjectPointer : public EditorTest, public ::testing::WithParamInterface<PointerCase> {};

std::string Expand(std::string text, const std::string& folder) {
  for (auto at = text.find("<P>"); at != std::string::npos; at = text.find("<P>"))
    text.replace(at, 3, folder);
  return text;
}

TEST_P(ProjectPointer, FirstLineNamesTheWorkFolder) {
  const std::string folder = start / "P1";
  std::filesystem::create_directories(folder);
  WriteFile(start / "PRJ.cfg", Expand(GetParam().content, folder));
  Start();
  EXPECT_EQ(editor->Dirs().Work_DIR, Expand(GetParam().workDir, folder));
  EXPECT_EQ(editor->ProjectDirLabel(), editor->Dirs().Work_DIR);
  EXPECT_EQ(editor->Dirs().Last_Work_DIR, editor->Dirs().Work_DIR);
  EXPECT_TRUE(host.errorBoxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Table, ProjectPointer,
                         ::testing::Values(PointerCase{"CrLf", "<P>/\r\n", "<P>/"},
                                           PointerCase{"NoTrailingSeparator", "<P>\r\n", "<P>/"},
                                           PointerCase{"LfOnly", "<P>/\n", "<P>/"},
                                           PointerCase{"NoLineEnd", "<P>/", "<P>/"},
                                           PointerCase{"Utf8Bom", "\xEF\xBB\xBF<P>/\r\n", "<P>/"},
                                           PointerCase{"ExtraLines", "<P>/\r\n/elsewhere/\r\n",
                                                       "<P>/"},
                                           PointerCase{"Untrimmed", "<P>/ \r\n", "<P>/ /"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorTest, Utf16PointerIsConverted) {
  const std::string folder = start.Dir() + "P1/";
  std::string bytes = "\xFF\xFE";
  for (char c : folder + "\r\n") bytes += std::string{c, '\0'};
  WriteFile(start / "PRJ.cfg", bytes);
  Start();
  EXPECT_EQ(editor->Dirs().Work_DIR, folder);
}

TEST_F(EditorTest, EmptyPointerShowsTheErrorAndStillFinishes) {
  WriteFile(start / "PRJ.cfg", "");
  WriteFile(start / "rtu.cfg", "9,9600,E,8,2");  // read from the bare name
  Start();
  EXPECT_EQ(host.errorBoxes, std::vector<std::string>{"List index out of bounds (0)"});
  EXPECT_TRUE(editor->StartupDone());
  EXPECT_EQ(editor->Dirs().Work_DIR, "");
  EXPECT_EQ(editor->Project().Settings.DeviceId, "9");
  EXPECT_TRUE(FolderExists(start / "temp"));
}

TEST_F(EditorTest, LaterActivationOnlyRefreshesTheVolume) {
  Start();
  const auto logSize = editor->Log().Size();
  editor->TrackBar1Change(8);
  editor->FormActivate();
  EXPECT_EQ(editor->Log().Size(), logSize);
  EXPECT_EQ(editor->VolumeLabel(), "8");
}

TEST_F(EditorTest, ProjectWithBothFilesLoadsLibraryAndPlayList) {
  std::filesystem::create_directories(start / "P1");
  const std::string plist = PlayListBytes().Mode(5).Slot(0, {3}, 4, true).Bytes();
  WriteFile(start / "P1/plist.cfg", plist);
  WriteFile(start / "P1/m3fn.txt", NameMapBytes({{3, "/snd/Fire.mp3"}}));
  WriteFile(start / "P1/vol.cfg", "15");
  WriteFile(start / "P1/rtu.cfg", "12,9600,E,8,2");
  StartWithProject("P1");
  const auto& project = editor->Project();
  EXPECT_EQ(project.Library.Entry(3).Short_FN, "Fire");
  EXPECT_EQ(editor->ClipChoices(), (std::vector<std::string>{"None", "003"}));
  EXPECT_EQ(project.Mode.Text, "5");
  EXPECT_EQ(project.Slots[0].Clips[0], "003");
  EXPECT_EQ(project.Slots[0].Repeat, "4");
  EXPECT_TRUE(project.Slots[0].AlarmOutput);
  EXPECT_EQ(project.Volume, 10);
  EXPECT_EQ(project.Settings, (ModbusRtuSettings{"12", "9600", "Even", "8", "2"}));
  EXPECT_EQ(editor->GridCell(3, 1), "Fire");
  EXPECT_TRUE(host.errorBoxes.empty());
}

TEST_F(EditorTest, EmptyPlayListKeepsThePreviousImage) {
  std::filesystem::create_directories(start / "P1");
  WriteFile(start / "P1/plist.cfg", "");
  WriteFile(start / "P1/m3fn.txt", NameMapBytes({{1, "/a/x.mp3"}}));
  StartWithProject("P1");
  EXPECT_EQ(editor->ClipChoices(), (std::vector<std::string>{"None", "001"}));
  EXPECT_EQ(editor->Project().Mode.Value, 0);
  EXPECT_TRUE(Logged("plist_fname Len: 0"));
}

TEST_F(EditorTest, BrokenVolumeFileShowsItsErrorAndTheStartUpGoesOn) {
  std::filesystem::create_directories(start / "P1");
  WriteFile(start / "P1/vol.cfg", "loud");
  WriteFile(start / "P1/rtu.cfg", "7,9600,O,8,1");
  StartWithProject("P1");
  EXPECT_EQ(host.errorBoxes, std::vector<std::string>{"'loud' is not a valid integer value"});
  EXPECT_EQ(editor->Project().Volume, 5);
  EXPECT_EQ(editor->Project().Settings.Parity, "Odd");
  EXPECT_TRUE(editor->StartupDone());
}

TEST_F(EditorTest, EmptyRtuFileShowsItsErrorAndKeepsDefaults) {
  std::filesystem::create_directories(start / "P1");
  WriteFile(start / "P1/rtu.cfg", "");
  StartWithProject("P1");
  EXPECT_EQ(host.errorBoxes, std::vector<std::string>{"List index out of bounds (0)"});
  EXPECT_EQ(editor->Project().Settings, ModbusRtuSettings{});
  EXPECT_TRUE(editor->StartupDone());
}

}  // namespace
}  // namespace pwx
