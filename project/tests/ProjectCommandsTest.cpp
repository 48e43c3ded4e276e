#include "project/tests/EditorFixture.h"

namespace pwx {
namespace {

using testing::NameMapBytes;
using testing::PlayListBytes;
using testing::ReadWhole;
using testing::WriteFile;

using ProjectCommands = testing::EditorTest;

const char* const kSavedFiles[] = {"plist.cfg", "m3fn.txt", "rtu.cfg", "vol.cfg", "Err1.mp3"};

TEST_F(ProjectCommands, SaveWithoutPointerUsesBareNamesAndTheNextStartOpensThem) {
  Start();
  editor->ComboBox1Change("2");
  editor->SetRepeat(1, "3");
  editor->SetDeviceId("12");
  editor->SpeedButton9Click();
  for (const char* name : kSavedFiles) EXPECT_TRUE(FileExists(start / name)) << name;
  EXPECT_EQ(ReadWhole(start / "rtu.cfg"), "12,115200,N,8,1");
  EXPECT_TRUE(host.messageBoxes.empty());

  testing::FakeHost host2;
  Editor second(host2, player, start.Path());
  second.FormActivate();
  EXPECT_EQ(second.Project().Mode.Value, 2);
  EXPECT_EQ(second.Project().Slots[1].Repeat, "3");
  EXPECT_EQ(second.Project().Settings.DeviceId, "12");
}

TEST_F(ProjectCommands, ChoosingAFolderWritesThePointerAndOpensIt) {
  Start();
  std::filesystem::create_directories(start / "D/P1");
  host.folderAnswers.push_back(start / "D/P1");
  editor->SpeedButton7Click();
  const std::string folder = start.Dir() + "D/P1/";
  EXPECT_EQ(ReadWhole(start / "PRJ.cfg"), folder + "\r\n");
  EXPECT_EQ(editor->Dirs().Work_DIR, folder);
  EXPECT_EQ(editor->Dirs().Last_Work_DIR, folder);
  EXPECT_EQ(editor->ProjectDirLabel(), folder);
  // Started without a project: the dialog opens at the default work folder.
  EXPECT_EQ(host.folderDialogStarts,
            std::vector<std::string>{"Select Directory|" + start.Dir() + "work/"});
  EXPECT_TRUE(Logged("Work_DIR Not Exists => "));
  EXPECT_TRUE(Logged("Assign Work_DIR => " + start.Dir() + "work/"));
}

TEST_F(ProjectCommands, ChoosingTheRootDoublesTheSeparator) {
  Start();
  host.folderAnswers.push_back("/");
  editor->SpeedButton7Click();
  EXPECT_EQ(editor->Dirs().Work_DIR, "//");
  EXPECT_EQ(ReadWhole(start / "PRJ.cfg"), "//\r\n");
}

TEST_F(ProjectCommands, NewFolderIsCreatedWithItsParentsAfterAsking) {
  Start();
  host.folderAnswers.push_back(start / "new/deep/P");
  host.yesNoAnswers.push_back(true);
  editor->SpeedButton7Click();
  EXPECT_EQ(host.questions,
            std::vector<std::string>{"The specified directory does not exist. Create it?"});
  EXPECT_TRUE(FolderExists(start / "new/deep/P"));
  EXPECT_EQ(editor->Dirs().Work_DIR, start.Dir() + "new/deep/P/");
}

TEST_F(ProjectCommands, DecliningToCreateOrCancellingChangesNothing) {
  StartWithProject("P");
  editor->SetRepeat(0, "7");
  const auto pointer = ReadWhole(start / "PRJ.cfg");
  // The edit is unsaved: each load asks first, and is told to go on without saving.
  host.saveAnswers = {Host::SaveAnswer::Discard, Host::SaveAnswer::Discard};
  host.folderAnswers.push_back(start / "nothere");
  host.yesNoAnswers.push_back(false);
  editor->SpeedButton7Click();
  host.folderAnswers.push_back(std::nullopt);
  editor->SpeedButton7Click();
  EXPECT_FALSE(FolderExists(start / "nothere"));
  EXPECT_EQ(ReadWhole(start / "PRJ.cfg"), pointer);
  EXPECT_EQ(editor->Dirs().Work_DIR, ProjectDir("P"));
  EXPECT_EQ(editor->Project().Slots[0].Repeat, "7");
}

TEST_F(ProjectCommands, FolderWithALineBreakIsRefused) {
  StartWithProject("P");
  const auto pointer = ReadWhole(start / "PRJ.cfg");
  std::filesystem::create_directories(start / "a\nb");
  host.folderAnswers.push_back(start / "a\nb");
  editor->Handle([&] { editor->SpeedButton7Click(); });
  EXPECT_EQ(host.errorBoxes, std::vector<std::string>{"The folder's path contains a line break: " +
                                                      (start / "a\nb")});
  EXPECT_EQ(ReadWhole(start / "PRJ.cfg"), pointer);
  EXPECT_EQ(editor->Dirs().Work_DIR, ProjectDir("P"));
}

TEST_F(ProjectCommands, EmptyFolderAfterAProjectWithClipsKeepsOfferingThem) {
  std::filesystem::create_directories(start / "A");
  WriteFile(start / "A/m3fn.txt", NameMapBytes({{1, "/s/a.mp3"}, {3, "/s/c.mp3"}}));
  WriteFile(start / "A/plist.cfg", PlayListBytes().Bytes());
  StartWithProject("A");
  std::filesystem::create_directories(start / "B");
  host.folderAnswers.push_back(start / "B");
  editor->SpeedButton7Click();
  EXPECT_EQ(editor->ClipChoices(), (std::vector<std::string>{"None", "001", "003"}));
  EXPECT_EQ(editor->GridCell(1, 1), "");
}

// An emptied or pasted id used to stop the save after m3fn.txt, leaving vol.cfg and the
// error clip unwritten.
TEST_F(ProjectCommands, DeviceIdThatIsNoNumberIsRefusedLikeOneOutOfRange) {
  std::filesystem::create_directories(start / "P");
  WriteFile(start / "P/rtu.cfg", "5,9600,N,8,1");
  StartWithProject("P");
  for (const std::string& id : {std::string(), std::string("12a"), std::string(300, '9')}) {
    editor->SetDeviceId(id);
    editor->TrackBar1Change(id.size() % 10);
    editor->Handle([&] { editor->SpeedButton9Click(); });
    EXPECT_TRUE(host.errorBoxes.empty());
    EXPECT_EQ(host.messageBoxes.back(), (testing::FakeHost::Box{"Device ID range must be 1 ~ 247",
                                                                "Modbus RTU Device ID Error"}));
    EXPECT_EQ(ReadWhole(ProjectDir("P") + "rtu.cfg"), "5,9600,N,8,1");
    EXPECT_EQ(ReadWhole(ProjectDir("P") + "vol.cfg"), std::to_string(id.size() % 10));
    EXPECT_TRUE(FileExists(ProjectDir("P") + "Err1.mp3"));
  }
}

TEST_F(ProjectCommands, DeviceIdOutOfRangeKeepsRtuButWritesTheRest) {
  std::filesystem::create_directories(start / "P");
  WriteFile(start / "P/rtu.cfg", "5,9600,N,8,1");
  StartWithProject("P");
  editor->SetDeviceId("248");
  editor->SpeedButton9Click();
  EXPECT_EQ(host.messageBoxes,
            (std::vector<testing::FakeHost::Box>{
                {"Device ID range must be 1 ~ 247", "Modbus RTU Device ID Error"}}));
  EXPECT_EQ(ReadWhole(ProjectDir("P") + "rtu.cfg"), "5,9600,N,8,1");
  EXPECT_TRUE(FileExists(ProjectDir("P") + "vol.cfg"));
  EXPECT_TRUE(FileExists(ProjectDir("P") + "Err1.mp3"));
}

TEST_F(ProjectCommands, SaveIntoAFolderThatCannotTakeFilesReportsAndLosesNothing) {
  StartWithProject("P");
  editor->SpeedButton9Click();
  const auto before = ReadWhole(ProjectDir("P") + "plist.cfg");
  // Replace the project folder by a file: nothing can be written below it any more.
  std::filesystem::rename(start / "P", start / "P.moved");
  WriteFile(start / "P", "not a folder");
  editor->SetRepeat(0, "9");
  editor->Handle([&] { editor->SpeedButton9Click(); });
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_EQ(host.errorBoxes[0].rfind("Cannot create file \"" + ProjectDir("P") + "plist.cfg\".", 0),
            0u);
  EXPECT_EQ(ReadWhole(start / "P.moved/plist.cfg"), before);
  EXPECT_EQ(editor->Project().Slots[0].Repeat, "9");
}

TEST_F(ProjectCommands, UnwritablePointerLeavesTheProjectAsItWas) {
  StartWithProject("P");
  std::filesystem::remove(start / "PRJ.cfg");
  std::filesystem::create_directories(start / "PRJ.cfg/blocker");
  std::filesystem::create_directories(start / "Q");
  host.folderAnswers.push_back(start / "Q");
  editor->Handle([&] { editor->SpeedButton7Click(); });
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_EQ(host.errorBoxes[0].rfind("Cannot create file \"" + start.Dir() + "PRJ.cfg\". ", 0), 0u);
  EXPECT_EQ(editor->Dirs().Work_DIR, ProjectDir("P"));
  EXPECT_EQ(editor->ProjectDirLabel(), ProjectDir("P"));
}

TEST_F(ProjectCommands, OpenFolderShowsTheProjectOrTheCurrentDirectory) {
  Start();
  editor->SpeedButton1Click();
  StartWithProject("P");
  editor->SpeedButton1Click();
  ASSERT_EQ(host.explored.size(), 2u);
  EXPECT_EQ(std::filesystem::path(host.explored[0]), std::filesystem::current_path());
  EXPECT_EQ(host.explored[1], ProjectDir("P"));
}

}  // namespace
}  // namespace pwx
