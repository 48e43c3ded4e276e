#include "project/Editor.h"

#include <utility>

#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "model/Choices.h"

namespace pwx {

Editor::Editor(Host& host, AudioPlayer& player, std::string currentDir)
    : host_(host), player_(player) {
  dirs_.Currentdir = std::move(currentDir);
  dirs_.Temp_DIR = dirs_.Currentdir + kPathSeparator + "temp" + kPathSeparator;
  dirs_.Work_DIR = DefaultWorkDir();
  ResetPlayListImage(image_);
  importFolder_ = host_.Preference(kImportFolderPreference);
  levelImports_ = host_.Preference(kLevelImportsPreference) == "1";
  maxTriggerSeconds_ = MaxTriggerOfPreference(host_.Preference(kMaxTriggerPreference));
  MarkSaved();
}

std::string Editor::DefaultWorkDir() const {
  return dirs_.Currentdir + kPathSeparator + "work" + kPathSeparator;
}

void Editor::ComboBox1Change(const std::string& modeText) {
  // The mode a step goes back to is one the selector held as a number.
  const std::string before =
      TryParseInt32(project_.Mode.Text) ? project_.Mode.Text : std::to_string(project_.Mode.Value);
  project_.Mode.Text = modeText;
  const auto value = static_cast<std::uint8_t>(StrToInt(modeText) & 0xFF);
  project_.Mode.Value = value;
  ApplyModeLabels(view_, value);
  NoteEdit(EditedField::Mode, -1, -1, before, modeText);
}

void Editor::TrackBar1Change(int position) {
  const int before = project_.Volume;
  project_.SetVolume(position);
  NoteEdit(EditedField::Volume, -1, -1, std::to_string(before), std::to_string(project_.Volume));
}

void Editor::SetClip(int slot, int index, const std::string& text) {
  std::string& clip =
      project_.Slots.at(static_cast<std::size_t>(slot)).Clips.at(static_cast<std::size_t>(index));
  const std::string before = clip;
  clip = SelectClipChoice(clipChoices_, text);
  NoteEdit(EditedField::Clip, slot, index, before, clip);
}

void Editor::SetRepeat(int slot, const std::string& text) {
  std::string& repeat = project_.Slots.at(static_cast<std::size_t>(slot)).Repeat;
  const std::string before = repeat;
  repeat = text;
  NoteEdit(EditedField::Repeat, slot, -1, before, text);
}

void Editor::SetAlarmOutput(int slot, bool ticked) {
  bool& output = project_.Slots.at(static_cast<std::size_t>(slot)).AlarmOutput;
  const bool before = output;
  output = ticked;
  NoteEdit(EditedField::AlarmOutput, slot, -1, before ? "on" : "off", ticked ? "on" : "off");
}

void Editor::SetDeviceId(const std::string& text) {
  const std::string before = std::exchange(project_.Settings.DeviceId, text);
  NoteEdit(EditedField::DeviceId, -1, -1, before, text);
}
void Editor::SetBaudRate(const std::string& text) {
  const std::string before = std::exchange(project_.Settings.BaudRate, text);
  NoteEdit(EditedField::BaudRate, -1, -1, before, text);
}
void Editor::SetParity(const std::string& text) {
  const std::string before = std::exchange(project_.Settings.Parity, text);
  NoteEdit(EditedField::Parity, -1, -1, before, text);
}
void Editor::SetDataBits(const std::string& text) {
  const std::string before = std::exchange(project_.Settings.DataBits, text);
  NoteEdit(EditedField::DataBits, -1, -1, before, text);
}
void Editor::SetStopBits(const std::string& text) {
  const std::string before = std::exchange(project_.Settings.StopBits, text);
  NoteEdit(EditedField::StopBits, -1, -1, before, text);
}

void Editor::SetPlaySource(bool playSource) {
  controls_.PlaySource = playSource;
}

void Editor::RefreshClipSelectors() {
  auto choices = BuildClipChoices(project_.Library);
  if (choices != clipChoices_) {
    clipChoices_ = std::move(choices);
    ++clipChoicesVersion_;
  }
  ApplyPlayList();
}

void Editor::ApplyPlayList() {
  pwx::ApplyPlayList(image_, project_, clipChoices_, log_);
  ApplyModeLabels(view_, project_.Mode.Value);
}

void Editor::TakeAlarmEditsIntoImage() {
  // The image then carries the window's unsaved alarm edits through the selector rebuild
  // that follows. A selector that shows nothing stands for a stored clip that is not offered
  // (yet); that number stays in the image, so importing the missing clip brings it back.
  DiagnosticLog unwanted;  // the hex dump and traces of a real save are not wanted here
  AlarmProject edits = project_;
  for (int s = 0; s < kSlotCount; ++s) {
    const UnpackedSlot stored = UnpackSlot(image_, s, unwanted);
    for (int k = 0; k < kClipsPerSlot; ++k) {
      std::string& clip =
          edits.Slots[static_cast<std::size_t>(s)].Clips[static_cast<std::size_t>(k)];
      if (clip.empty()) clip = stored.RB_Str[static_cast<std::size_t>(k)];
    }
  }
  CapturePlayList(image_, edits, unwanted);
}

std::string Editor::GridCell(int row, int column) const {
  if (row == 0) return column == 0 ? "File No." : "Real File Name";
  if (row < 1 || row > kLibrarySize) return {};
  return column == 0 ? ThreeDigits(row) : project_.Library.Entry(row).Short_FN;
}

void Editor::StringGrid1Click(int row, int column) {
  if (row < 1 || row > kLibrarySize || column < 0 || column > 1) return;
  currentRow_ = row;
  currentColumn_ = column;
}

void Editor::SpeedButton3Click() {}

void Editor::ComboBox74Change(int index) {
  if (index >= 0 && index < static_cast<int>(view_.TestInputChoices.size())) {
    view_.TestInputIndex = index;
  }
}

void Editor::SpeedButton8Click() {
  statusText_ = "Stop Test Loop playing";
}

}  // namespace pwx
