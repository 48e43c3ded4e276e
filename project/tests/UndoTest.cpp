// Undo and redo of the edits of the record, through the Editor: one step per edit, its name,
// and what loading, importing and removing clips do to the history.
#include "audio/tests/Mp3Bytes.h"
#include "project/tests/EditorFixture.h"

namespace pwx {
namespace {

using testing::NameMapBytes;
using testing::PlayListBytes;
using testing::WriteFile;

class Undo : public testing::EditorTest {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(start / "P");
    WriteFile(start / "P/m3fn.txt",
              NameMapBytes({{1, "/s/a.mp3"}, {3, "/s/c.mp3"}, {5, "/s/e.mp3"}}));
    WriteFile(start / "P/plist.cfg", PlayListBytes().Mode(2).Slot(1, {3}).Bytes());
    WriteFile(start / "P/rtu.cfg", "12,9600,E,8,1");
    StartWithProject("P");
  }
  std::string Source(const std::string& name) {
    std::filesystem::create_directories(start / "src");
    WriteFile(start / ("src/" + name), testing::Mp3Bytes(name));
    return start / ("src/" + name);
  }
};

struct EditStep {
  const char* name;
  std::function<void(Editor&)> edit;
  const char* undoText;
  std::function<std::string(const AlarmProject&)> value;  // of the field edited
};

class EachField : public Undo, public ::testing::WithParamInterface<EditStep> {};

TEST_P(EachField, UndoesAndRedoesAsOneNamedStep) {
  const EditStep& c = GetParam();
  const std::string before = c.value(editor->Project());
  c.edit(*editor);
  const std::string after = c.value(editor->Project());
  ASSERT_NE(before, after);
  EXPECT_EQ(editor->History().UndoText(), c.undoText);
  EXPECT_TRUE(editor->HasUnsavedChanges());

  editor->Undo();
  EXPECT_EQ(c.value(editor->Project()), before);
  // Back where the project was loaded: nothing is unsaved.
  EXPECT_FALSE(editor->HasUnsavedChanges());
  EXPECT_FALSE(editor->History().CanUndo());
  EXPECT_EQ(editor->History().RedoText(), "Redo" + std::string(c.undoText).substr(4));

  editor->Redo();
  EXPECT_EQ(c.value(editor->Project()), after);
  EXPECT_TRUE(editor->HasUnsavedChanges());
  EXPECT_FALSE(editor->History().CanRedo());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, EachField,
    ::testing::Values(
        EditStep{
            "Mode", [](Editor& e) { e.ComboBox1Change("5"); }, "Undo Mode: 2 -> 5",
            [](const AlarmProject& p) { return p.Mode.Text + "/" + std::to_string(p.Mode.Value); }},
        EditStep{"Clip", [](Editor& e) { e.SetClip(1, 0, "005"); }, "Undo DI2 #1: 003 -> 005",
                 [](const AlarmProject& p) { return p.Slots[1].Clips[0]; }},
        EditStep{"Repeat", [](Editor& e) { e.SetRepeat(0, "3"); }, "Undo DI1 Repeat: 1 -> 3",
                 [](const AlarmProject& p) { return p.Slots[0].Repeat; }},
        EditStep{"AlarmOutput", [](Editor& e) { e.SetAlarmOutput(2, true); },
                 "Undo DI3 Alarm Output: off -> on",
                 [](const AlarmProject& p) { return std::to_string(p.Slots[2].AlarmOutput); }},
        EditStep{"DeviceId", [](Editor& e) { e.SetDeviceId("13"); }, "Undo Device ID: 12 -> 13",
                 [](const AlarmProject& p) { return p.Settings.DeviceId; }},
        EditStep{"BaudRate", [](Editor& e) { e.SetBaudRate("19200"); },
                 "Undo BaudRate: 9600 -> 19200",
                 [](const AlarmProject& p) { return p.Settings.BaudRate; }},
        EditStep{"Parity", [](Editor& e) { e.SetParity("Odd"); }, "Undo Parity: Even -> Odd",
                 [](const AlarmProject& p) { return p.Settings.Parity; }},
        EditStep{"DataBits", [](Editor& e) { e.SetDataBits("7"); }, "Undo Data bit: 8 -> 7",
                 [](const AlarmProject& p) { return p.Settings.DataBits; }},
        EditStep{"StopBits", [](Editor& e) { e.SetStopBits("2"); }, "Undo Stop bit: 1 -> 2",
                 [](const AlarmProject& p) { return p.Settings.StopBits; }},
        EditStep{"Volume", [](Editor& e) { e.TrackBar1Change(8); }, "Undo Volume: 5 -> 8",
                 [](const AlarmProject& p) { return std::to_string(p.Volume); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Undo, TypingIsOneStepUntilTheFieldsEditEnds) {
  editor->SetRepeat(0, "3");
  editor->SetRepeat(0, "31");
  editor->SetRepeat(0, "312");
  EXPECT_EQ(editor->History().UndoText(), "Undo DI1 Repeat: 1 -> 312");
  EXPECT_EQ(editor->History().Steps(), 1u);
  editor->EndEdit();
  editor->SetRepeat(0, "4");
  EXPECT_EQ(editor->History().Steps(), 2u);
  // Another field's edit ends the run too.
  editor->SetDeviceId("1");
  editor->SetDeviceId("13");
  editor->SetRepeat(0, "45");
  EXPECT_EQ(editor->History().Steps(), 4u);
  editor->Undo();
  editor->Undo();
  EXPECT_EQ(editor->Project().Settings.DeviceId, "12");
  editor->Undo();
  EXPECT_EQ(editor->Project().Slots[0].Repeat, "312");
}

TEST_F(Undo, TypingBackToTheStartLeavesNoStep) {
  editor->SetDeviceId("1");
  editor->SetDeviceId("12");
  EXPECT_FALSE(editor->History().CanUndo());
}

TEST_F(Undo, PicksAndTicksAreAStepEach) {
  editor->SetClip(0, 0, "001");
  editor->SetClip(0, 0, "005");
  editor->SetAlarmOutput(0, true);
  editor->SetAlarmOutput(0, false);
  EXPECT_EQ(editor->History().Steps(), 4u);
  editor->Undo();
  editor->Undo();
  editor->Undo();
  EXPECT_EQ(editor->Project().Slots[0].Clips[0], "001");
}

TEST_F(Undo, ANewEditForgetsWhatCouldBeRedone) {
  editor->TrackBar1Change(7);
  editor->EndEdit();
  editor->Undo();
  EXPECT_TRUE(editor->History().CanRedo());
  editor->SetParity("Odd");
  EXPECT_FALSE(editor->History().CanRedo());
  editor->Redo();
  EXPECT_EQ(editor->Project().Volume, 5);
}

TEST_F(Undo, UndoingPastTheSaveMarksTheProjectUnsaved) {
  editor->SetRepeat(0, "3");
  editor->SpeedButton9Click();
  EXPECT_FALSE(editor->HasUnsavedChanges());
  editor->Undo();
  EXPECT_TRUE(editor->HasUnsavedChanges());
  editor->Redo();
  EXPECT_FALSE(editor->HasUnsavedChanges());
}

TEST_F(Undo, ModeStepsGoBackToANumber) {
  editor->ComboBox1Change("5");
  editor->EndEdit();
  EXPECT_THROW(editor->ComboBox1Change("x"), EditorError);
  editor->ComboBox1Change("6");
  EXPECT_EQ(editor->History().UndoText(), "Undo Mode: 5 -> 6");
  editor->Undo();
  EXPECT_EQ(editor->Project().Mode.Text, "5");
  EXPECT_TRUE(editor->View().SecondGroupVisible);
}

TEST_F(Undo, LoadingAProjectClearsTheHistory) {
  editor->SetRepeat(0, "3");
  host.saveAnswers = {Host::SaveAnswer::Discard};
  host.folderAnswers = {ProjectDir("P")};
  editor->SpeedButton7Click();
  EXPECT_FALSE(editor->History().CanUndo());
  EXPECT_EQ(editor->Project().Slots[0].Repeat, "1");
}

TEST_F(Undo, AnImportKeepsTheStepsOfAlarmEdits) {
  editor->SetClip(0, 0, "005");
  editor->SetRepeat(0, "4");
  editor->StringGrid1Click(9, 1);
  host.fileAnswers = {Source("bell.mp3")};
  editor->StringGrid1DblClick();
  ASSERT_EQ(editor->GridCell(9, 1), "bell");
  EXPECT_EQ(editor->Project().Slots[0].Repeat, "4");
  editor->Undo();
  editor->Undo();
  EXPECT_EQ(editor->Project().Slots[0].Clips[0], kNoClip);
  EXPECT_EQ(editor->Project().Slots[0].Repeat, "1");
}

TEST_F(Undo, ARemovalForgetsTheStepsThatNameItsClip) {
  editor->SetClip(0, 0, "005");
  editor->SetClip(2, 0, "001");
  editor->SetRepeat(0, "4");
  editor->StringGrid1Click(5, 1);
  editor->SpeedButton6Click();
  // The steps of DI1 #1 named clip 5: undoing them would bring back a clip that is gone.
  EXPECT_EQ(editor->History().Steps(), 2u);
  editor->Undo();
  EXPECT_EQ(editor->Project().Slots[0].Repeat, "1");
  editor->Undo();
  EXPECT_EQ(editor->Project().Slots[2].Clips[0], kNoClip);
  EXPECT_FALSE(editor->History().CanUndo());
}

TEST(EditHistory, KeepsItsNewestSteps) {
  EditHistory history;
  for (std::size_t i = 0; i < EditHistory::kMaxSteps + 10; ++i) {
    history.Record(
        FieldEdit{EditedField::Clip, 0, 0, std::to_string(i), std::to_string(i + 1), "DI1 #1"});
  }
  EXPECT_EQ(history.Steps(), EditHistory::kMaxSteps);
  EXPECT_EQ(history.UndoText(), "Undo DI1 #1: 509 -> 510");
}

}  // namespace
}  // namespace pwx
