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
  MarkSaved();
}

std::string Editor::DefaultWorkDir() const {
  return dirs_.Currentdir + kPathSeparator + "work" + kPathSeparator;
}

void Editor::ComboBox1Change(const std::string& modeText) {
  project_.Mode.Text = modeText;
  const auto value = static_cast<std::uint8_t>(StrToInt(modeText) & 0xFF);
  project_.Mode.Value = value;
  ApplyModeLabels(view_, value);
}

void Editor::TrackBar1Change(int position) {
  project_.SetVolume(position);
}

void Editor::SetClip(int slot, int index, const std::string& text) {
  project_.Slots.at(static_cast<std::size_t>(slot)).Clips.at(static_cast<std::size_t>(index)) =
      SelectClipChoice(clipChoices_, text);
}

void Editor::SetRepeat(int slot, const std::string& text) {
  project_.Slots.at(static_cast<std::size_t>(slot)).Repeat = text;
}

void Editor::SetAlarmOutput(int slot, bool ticked) {
  project_.Slots.at(static_cast<std::size_t>(slot)).AlarmOutput = ticked;
}

void Editor::SetDeviceId(const std::string& text) {
  project_.Settings.DeviceId = text;
}
void Editor::SetBaudRate(const std::string& text) {
  project_.Settings.BaudRate = text;
}
void Editor::SetParity(const std::string& text) {
  project_.Settings.Parity = text;
}
void Editor::SetDataBits(const std::string& text) {
  project_.Settings.DataBits = text;
}
void Editor::SetStopBits(const std::string& text) {
  project_.Settings.StopBits = text;
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

void Editor::SpeedButton8Click() {
  statusText_ = "Stop Test Loop playing";
}

}  // namespace pwx
