#include <utility>

#include "project/Editor.h"

// Undo and redo of the edits of the record. Each setter notes what it changed; an undo sets
// the field back through the same setter, so the rules of the field (the clip choices, the
// volume's range, the mode's labels) apply as they did to the user's edit.
namespace pwx {

namespace {

const char* SettingName(EditedField field) {
  switch (field) {
    case EditedField::Mode:
      return "Mode";
    case EditedField::DeviceId:
      return "Device ID";
    case EditedField::BaudRate:
      return "BaudRate";
    case EditedField::Parity:
      return "Parity";
    case EditedField::DataBits:
      return "Data bit";
    case EditedField::StopBits:
      return "Stop bit";
    case EditedField::Volume:
      return "Volume";
    default:
      return "";
  }
}

}  // namespace

std::string Editor::InputName(int slot) const {
  const std::string& label = view_.RowLabels[static_cast<std::size_t>(slot)];
  return label.substr(0, label.find(' '));
}

void Editor::NoteEdit(EditedField field, int slot, int index, std::string before,
                      std::string after) {
  if (replaying_) return;
  std::string name;
  switch (field) {
    case EditedField::Clip:
      name = InputName(slot) + " #" + std::to_string(index + 1);
      break;
    case EditedField::Repeat:
      name = InputName(slot) + " Repeat";
      break;
    case EditedField::AlarmOutput:
      name = InputName(slot) + " Alarm Output";
      break;
    default:
      name = SettingName(field);
      break;
  }
  history_.Record(FieldEdit{field, slot, index, std::move(before), std::move(after), name});
}

void Editor::ReplayEdit(const FieldEdit& step, const std::string& value) {
  replaying_ = true;
  try {
    switch (step.Field) {
      case EditedField::Mode:
        ComboBox1Change(value);
        break;
      case EditedField::Clip:
        SetClip(step.Slot, step.Index, value);
        break;
      case EditedField::Repeat:
        SetRepeat(step.Slot, value);
        break;
      case EditedField::AlarmOutput:
        SetAlarmOutput(step.Slot, value == "on");
        break;
      case EditedField::DeviceId:
        SetDeviceId(value);
        break;
      case EditedField::BaudRate:
        SetBaudRate(value);
        break;
      case EditedField::Parity:
        SetParity(value);
        break;
      case EditedField::DataBits:
        SetDataBits(value);
        break;
      case EditedField::StopBits:
        SetStopBits(value);
        break;
      case EditedField::Volume:
        TrackBar1Change(std::stoi(value));
        break;
    }
  } catch (...) {
    replaying_ = false;
    throw;
  }
  replaying_ = false;
}

void Editor::Undo() {
  if (const auto step = history_.Undo()) ReplayEdit(*step, step->Before);
}

void Editor::Redo() {
  if (const auto step = history_.Redo()) ReplayEdit(*step, step->After);
}

}  // namespace pwx
