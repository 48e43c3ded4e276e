// Unsaved alarm edits: what counts as unsaved, and the questions before they would be lost.
#include "project/tests/EditorFixture.h"

namespace pwx {
namespace {

using testing::NameMapBytes;
using testing::PlayListBytes;
using testing::ReadWhole;
using testing::WriteFile;
using Answer = Host::SaveAnswer;

class UnsavedWork : public testing::EditorTest {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(start / "P");
    WriteFile(start / "P/m3fn.txt", NameMapBytes({{1, "/s/a.mp3"}, {5, "/s/e.mp3"}}));
    // Bytes a save normalises (repeat 0, flag 2): still nothing unsaved after loading.
    std::string plist = PlayListBytes().Mode(2).Slot(0, {1, 5}).Bytes();
    plist[96 + 3] = 0;
    plist[160 + 4] = 2;
    WriteFile(start / "P/plist.cfg", plist);
    WriteFile(start / "P/rtu.cfg", "12,9600,E,8,1");
    StartWithProject("P");
  }
};

struct EditCase {
  const char* name;
  std::function<void(Editor&)> edit;
};

class EachEdit : public UnsavedWork, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EachEdit, IsUnsavedUntilSavedOrUndone) {
  EXPECT_FALSE(editor->HasUnsavedChanges());
  EXPECT_EQ(editor->WindowTitle(), "PWX36 Editor V1.00 (20200103) \u2013 P");
  GetParam().edit(*editor);
  EXPECT_TRUE(editor->HasUnsavedChanges());
  EXPECT_EQ(editor->WindowTitle(), "*PWX36 Editor V1.00 (20200103) \u2013 P");
  editor->SpeedButton9Click();
  EXPECT_FALSE(editor->HasUnsavedChanges());
}

INSTANTIATE_TEST_SUITE_P(
    Edits, EachEdit,
    ::testing::Values(EditCase{"Mode", [](Editor& e) { e.ComboBox1Change("5"); }},
                      EditCase{"Clip", [](Editor& e) { e.SetClip(1, 0, "005"); }},
                      EditCase{"Repeat", [](Editor& e) { e.SetRepeat(2, "4"); }},
                      EditCase{"AlarmOutput", [](Editor& e) { e.SetAlarmOutput(31, true); }},
                      EditCase{"DeviceId", [](Editor& e) { e.SetDeviceId("13"); }},
                      EditCase{"Parity", [](Editor& e) { e.SetParity("Odd"); }},
                      EditCase{"Volume", [](Editor& e) { e.TrackBar1Change(9); }},
                      // The play list still names clip 5 on disk until the next save.
                      EditCase{"RemovingAClipInUse",
                               [](Editor& e) {
                                 e.StringGrid1Click(5, 1);
                                 e.SpeedButton6Click();
                               }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnsavedWork, EditsUndoneByHandAreNoChange) {
  editor->SetRepeat(2, "3");
  editor->ComboBox1Change("7");
  editor->SetRepeat(2, "1");
  editor->ComboBox1Change("2");
  EXPECT_FALSE(editor->HasUnsavedChanges());
  // A text that stores the same byte is the same too: "001" and "1" are both repeat 1.
  editor->SetRepeat(2, "001");
  EXPECT_FALSE(editor->HasUnsavedChanges());
}

TEST_F(UnsavedWork, ClosingAsksOnlyWhenSomethingIsUnsaved) {
  EXPECT_TRUE(editor->CloseWindow());
  EXPECT_TRUE(host.questions.empty());
  editor->SetRepeat(0, "3");
  host.saveAnswers = {Answer::Cancel, Answer::Discard};
  EXPECT_FALSE(editor->CloseWindow());
  EXPECT_EQ(editor->Project().Slots[0].Repeat, "3");
  EXPECT_TRUE(editor->CloseWindow());
  EXPECT_EQ(host.questions,
            (std::vector<std::string>{kSaveBeforeClosingQuestion, kSaveBeforeClosingQuestion}));
  EXPECT_EQ(ReadWhole(ProjectDir("P") + "plist.cfg")[96], 1);  // discarded, not written
}

TEST_F(UnsavedWork, SaveGoesOnOnlyWhenTheSaveSucceeded) {
  editor->SetRepeat(0, "3");
  std::filesystem::rename(start / "P", start / "P.moved");  // nothing can be saved now
  host.saveAnswers = {Answer::Save};
  EXPECT_FALSE(editor->CloseWindow());
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_TRUE(editor->HasUnsavedChanges());

  std::filesystem::rename(start / "P.moved", start / "P");
  host.saveAnswers = {Answer::Save};
  EXPECT_TRUE(editor->CloseWindow());
  EXPECT_EQ(ReadWhole(ProjectDir("P") + "plist.cfg")[96], 3);
}

TEST_F(UnsavedWork, LoadingAnotherProjectAsksFirstAndCancelKeepsEverything) {
  editor->SetDeviceId("99");
  host.saveAnswers = {Answer::Cancel};
  editor->SpeedButton7Click();  // no folder dialog: the test's host would fail on one
  EXPECT_EQ(host.questions, std::vector<std::string>{kSaveBeforeLoadingQuestion});
  EXPECT_EQ(editor->Project().Settings.DeviceId, "99");

  std::filesystem::create_directories(start / "Q");
  host.saveAnswers = {Answer::Save};
  host.folderAnswers.push_back(start / "Q");
  editor->SpeedButton7Click();
  EXPECT_EQ(ReadWhole(ProjectDir("P") + "rtu.cfg"), "99,9600,E,8,1");
  EXPECT_EQ(editor->Dirs().Work_DIR, ProjectDir("Q"));
  EXPECT_FALSE(editor->HasUnsavedChanges());  // a project just loaded
}

}  // namespace
}  // namespace pwx
