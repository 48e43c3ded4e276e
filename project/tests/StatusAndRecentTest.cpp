// What the status line says and for how long, the recent project folders, the project the
// program is started on, and the import of the "Import..." button.
#include "audio/tests/Mp3Bytes.h"
#include "project/tests/EditorFixture.h"

namespace pwx {
namespace {

using testing::NameMapBytes;
using testing::PlayListBytes;
using testing::ReadWhole;
using testing::WriteFile;

class Habits : public testing::EditorTest {
 protected:
  void SetUp() override {
    for (const char* name : {"P", "Q"}) {
      std::filesystem::create_directories(start / name);
      WriteFile(start / (std::string(name) + "/m3fn.txt"), NameMapBytes({{1, "/s/a.mp3"}}));
      WriteFile(start / (std::string(name) + "/plist.cfg"), PlayListBytes().Bytes());
    }
    StartWithProject("P");
  }
  std::string Source(const std::string& name, std::string bytes = {}) {
    std::filesystem::create_directories(start / "src");
    WriteFile(start / ("src/" + name), bytes.empty() ? testing::Mp3Bytes(name) : bytes);
    return start / ("src/" + name);
  }
  void Load(const std::string& folder) {
    host.folderAnswers.push_back(start / folder);
    editor->SpeedButton7Click();
  }
};

TEST_F(Habits, AnActionsMessageGoesWhenTheNextActionStarts) {
  editor->StringGrid1Click(4, 1);
  host.fileAnswers = {Source("big.mp3", testing::Mp3BytesOfSize(10'485'761))};
  editor->StringGrid1DblClick();
  ASSERT_EQ(editor->StatusText(), "Error!! : File Size > then Buffer 10MB");
  // Cancelling the dialog says nothing new and takes nothing back.
  host.fileAnswers = {std::nullopt};
  editor->StringGrid1DblClick();
  EXPECT_EQ(editor->StatusText(), "Error!! : File Size > then Buffer 10MB");
  host.fileAnswers = {Source("bell.mp3")};
  editor->StringGrid1DblClick();
  EXPECT_EQ(editor->StatusText(), "");

  editor->SetStatusText("Clips levelled: 1 of 1");
  Load("Q");
  EXPECT_EQ(editor->StatusText(), "");
}

TEST_F(Habits, ASaveSaysWhatItWroteForAWhile) {
  editor->SpeedButton9Click();
  const std::string saved =
      "Saved: plist.cfg, m3fn.txt, rtu.cfg, vol.cfg, Err1.mp3 in " + ProjectDir("P");
  EXPECT_EQ(editor->StatusText(), saved);
  EXPECT_TRUE(editor->StatusExpires());
  editor->ExpireStatus();
  EXPECT_EQ(editor->StatusText(), "");
  // A message said since then is not taken away.
  editor->SpeedButton9Click();
  editor->SetStatusText("Project check: no problems");
  editor->ExpireStatus();
  EXPECT_EQ(editor->StatusText(), "Project check: no problems");
}

TEST_F(Habits, ASaveWithoutRtuKeepsTheProjectUnsaved) {
  editor->SetDeviceId("300");
  editor->SpeedButton9Click();
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_EQ(host.messageBoxes[0].text, kDeviceIdRangeText);
  EXPECT_TRUE(FileExists(ProjectDir("P") + "vol.cfg"));
  EXPECT_FALSE(FileExists(ProjectDir("P") + "rtu.cfg"));
  EXPECT_TRUE(editor->HasUnsavedChanges());
  EXPECT_EQ(editor->WindowTitle().front(), '*');
  EXPECT_EQ(editor->StatusText(), "Saved: plist.cfg, m3fn.txt, vol.cfg, Err1.mp3 in " +
                                      ProjectDir("P") +
                                      "; rtu.cfg not written: " + kDeviceIdRangeText);
  EXPECT_FALSE(editor->StatusExpires());
  // What the check's device-id-invalid is found from.
  ASSERT_TRUE(editor->Snapshot().ToSave.Rtu.Refusal);
  EXPECT_EQ(editor->Snapshot().ToSave.Rtu.Refusal->Text, kDeviceIdRangeText);
  // A valid id saved writes rtu.cfg at last.
  editor->SetDeviceId("30");
  editor->SpeedButton9Click();
  EXPECT_EQ(ReadWhole(ProjectDir("P") + "rtu.cfg"), "30,115200,N,8,1");
  EXPECT_FALSE(editor->HasUnsavedChanges());
}

TEST_F(Habits, ARefusedRtuUndoneToWhatTheDiskHoldsIsSaved) {
  WriteFile(start / "P/rtu.cfg", "12,9600,E,8,1");
  Load("P");
  editor->SetDeviceId("300");
  editor->SpeedButton9Click();
  EXPECT_TRUE(editor->HasUnsavedChanges());
  editor->Undo();
  EXPECT_FALSE(editor->HasUnsavedChanges());
}

TEST_F(Habits, PlayingWithoutAudioOutputSaysSo) {
  editor->StringGrid1Click(1, 1);
  player.hasOutput = false;
  editor->SpeedButton4Click();
  EXPECT_EQ(editor->StatusText(), "Cannot play /s/a.mp3: there is no audio output");
  EXPECT_TRUE(player.calls.empty());
}

TEST_F(Habits, RecentProjectsAreTheFoldersOpenedLast) {
  Load("Q");
  Load("P");
  const auto recent = editor->RecentProjects();
  ASSERT_EQ(recent.size(), 2u);
  EXPECT_EQ(recent[0], (RecentProject{ProjectDir("P"), true}));
  EXPECT_EQ(recent[1], (RecentProject{ProjectDir("Q"), true}));
  std::filesystem::remove_all(start / "Q");
  EXPECT_FALSE(editor->RecentProjects()[1].Found);
}

TEST_F(Habits, ARecentProjectLoadsAsLoadProjectDoesWithoutItsDialog) {
  editor->SetRepeat(0, "3");
  host.saveAnswers = {Host::SaveAnswer::Cancel, Host::SaveAnswer::Discard};
  editor->LoadRecentProject(ProjectDir("Q"));
  EXPECT_EQ(editor->Dirs().Work_DIR, ProjectDir("P"));
  editor->LoadRecentProject(start / "Q");
  EXPECT_TRUE(host.folderDialogStarts.empty());
  EXPECT_EQ(editor->Dirs().Work_DIR, ProjectDir("Q"));
  EXPECT_EQ(ReadWhole(start / "PRJ.cfg"), ProjectDir("Q") + "\r\n");
  EXPECT_EQ(editor->Project().Slots[0].Repeat, "1");
  EXPECT_EQ(editor->RecentProjects()[0].Folder, ProjectDir("Q"));
  EXPECT_THROW(editor->LoadRecentProject(start / "gone"), EditorError);
  EXPECT_FALSE(FolderExists(start / "gone"));
}

TEST(RecentProjectList, NewestFirstEachOnceEightAtMost) {
  std::vector<std::string> list;
  for (int i = 0; i < 10; ++i) list = WithRecentProject(list, "/p/" + std::to_string(i));
  ASSERT_EQ(list.size(), kRecentProjectsKept);
  EXPECT_EQ(list.front(), "/p/9/");
  EXPECT_EQ(list.back(), "/p/2/");
  list = WithRecentProject(list, "/p/5/");
  EXPECT_EQ(list.front(), "/p/5/");
  EXPECT_EQ(std::count(list.begin(), list.end(), "/p/5/"), 1);
  EXPECT_EQ(WithRecentProject(list, "/a\nb"), list);
  EXPECT_EQ(ParseRecentProjects(FormatRecentProjects(list)), list);
  EXPECT_EQ(ParseRecentProjects("/a/\r\n\n/b/\n"), (std::vector<std::string>{"/a/", "/b/"}));
}

TEST_F(Habits, TheProjectTheProgramIsStartedOnOpensInPlaceOfPrjCfg) {
  WriteFile(start / "Q/vol.cfg", "3");
  editor = std::make_unique<Editor>(host, player, start.Path());
  editor->SetProjectToOpen(start / "Q");
  editor->FormActivate();
  EXPECT_EQ(editor->Dirs().Work_DIR, ProjectDir("Q"));
  EXPECT_EQ(editor->Project().Volume, 3);
  EXPECT_EQ(ReadWhole(start / "PRJ.cfg"), ProjectDir("P") + "\r\n");
  EXPECT_EQ(editor->RecentProjects()[0].Folder, ProjectDir("Q"));
  EXPECT_EQ(editor->WindowTitle(), "PWX36 Editor V1.00 (20200103) \u2013 Q");
}

TEST_F(Habits, TheImportButtonAsksBeforeReplacingAClip) {
  EXPECT_EQ(editor->GridHint(), "");
  editor->StringGrid1Click(1, 1);
  host.fileAnswers = {Source("bell.mp3"), Source("bell.mp3")};
  host.yesNoAnswers = {false, true};
  editor->ImportIntoCurrentRow();
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_EQ(host.questions[0], "Replace clip 001 \"a\" with \"bell.mp3\"?");
  EXPECT_EQ(editor->GridCell(1, 1), "a");
  editor->ImportIntoCurrentRow();
  EXPECT_EQ(editor->GridCell(1, 1), "bell");
  // A free row is imported into at once.
  editor->StringGrid1Click(2, 1);
  host.fileAnswers = {Source("horn.mp3")};
  editor->ImportIntoCurrentRow();
  EXPECT_EQ(editor->GridCell(2, 1), "horn");
  EXPECT_EQ(host.questions.size(), 2u);
}

TEST_F(Habits, AnEmptyLibraryShowsHowToImport) {
  editor->StringGrid1Click(1, 1);
  editor->SpeedButton6Click();
  EXPECT_EQ(editor->GridHint(), kImportHint);
}

}  // namespace
}  // namespace pwx
