#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace pwx {

// The fields of the project record that the user edits in the window.
enum class EditedField {
  Mode,
  Clip,
  Repeat,
  AlarmOutput,
  DeviceId,
  BaudRate,
  Parity,
  DataBits,
  StopBits,
  Volume,
};

// One edit of one field: which field (and, for a slot's fields, which slot and clip), what it
// held before and what it holds after, as the record holds them ("on"/"off" for the alarm
// output, the number for the volume), and the field's name as the user sees it ("DI2 #1").
struct FieldEdit {
  EditedField Field = EditedField::Mode;
  int Slot = -1;
  int Index = -1;
  std::string Before;
  std::string After;
  std::string Name;

  bool SameField(const FieldEdit& other) const {
    return Field == other.Field && Slot == other.Slot && Index == other.Index;
  }
  // "DI2 #1: 003 -> 005".
  std::string Text() const;
};

// The undo and redo history of the window's edits. Each step is one edit the user made:
// typing into a text field (a repeat, the device id, a setting, the mode) or dragging the
// volume slider makes one step however many keys or positions it takes, until the field's
// edit ends (EndStep) or another field is edited; a pick from a list and a tick are a step
// each. A run of typing that ends where it began leaves no step.
class EditHistory {
 public:
  static constexpr std::size_t kMaxSteps = 500;

  // Records an edit that has been made; a new edit forgets what could be redone.
  void Record(const FieldEdit& edit);
  // Ends the run of typing: the next edit of the same field is a step of its own.
  void EndStep() { open_ = false; }

  bool CanUndo() const { return !done_.empty(); }
  bool CanRedo() const { return !undone_.empty(); }
  // "Undo DI2 #1: 003 -> 005", "Redo Volume: 5 -> 7"; empty when there is nothing.
  std::string UndoText() const;
  std::string RedoText() const;

  // The step to undo (its Before is to be set again), moved to the redo side; nothing when
  // there is none.
  std::optional<FieldEdit> Undo();
  // The step to redo (its After is to be set again), moved back to the undo side.
  std::optional<FieldEdit> Redo();

  void Clear();
  // Forgets the steps that set a clip selector to or from `clip` ("003"), which a removal
  // took out of the library: undoing them would name a clip that is not there.
  void ForgetClip(const std::string& clip);

  std::size_t Steps() const { return done_.size(); }

 private:
  std::deque<FieldEdit> done_;
  std::vector<FieldEdit> undone_;
  bool open_ = false;  // the last step is a run of typing that may go on
};

// Whether edits of a field merge while the user types or drags.
bool MergesWhileTyping(EditedField field);

}  // namespace pwx
