#include "audio/ClipFiles.h"
#include "common/FileReading.h"
#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "project/Editor.h"

namespace pwx {

// What SelectMp3File returns, and keeps as the reason, when the dialog was cancelled.
const std::string kNoFileChosen = "0";

std::string Editor::SelectMp3File() {
  auto chosen = host_.ChooseMp3File(importFolder_);
  if (!chosen) {
    lastError_ = kNoFileChosen;
    return kNoFileChosen;
  }
  if (const Outcome allowed = CheckClipSource(*chosen); allowed.IsRefused()) {
    lastError_ = allowed.Why();
    return kNoFileChosen;
  }
  return *chosen;
}

Outcome Editor::CheckClipSource(const std::string& path) {
  // The name map holds one path a line: a path with a line break would shift every
  // clip after it.
  if (HasLineBreak(path)) {
    return Outcome::Refused("The file's path contains a line break: " + QuotePath(path));
  }
  scannedPath_.clear();  // the file is looked at anew for each import
  // A conversion reads only regular files, and the player's limit applies to what it writes.
  if (ConvertsOnImport(path)) return Outcome::Done();
  return CheckClipSize(path, log_);
}

void Editor::ShowImportOutcome(const Outcome& outcome) {
  if (outcome.IsCancelled()) {
    statusText_ = kImportCancelled;
  } else if (outcome.IsRefused()) {
    statusText_ = "Error!! : " + outcome.Why();
    host_.ErrorBox(statusText_);
  }
}

// Imports a sound file into the current row. The copy (or conversion) comes first: when it
// fails, the library, the selectors and the name map stay as they were.
void Editor::StringGrid1DblClick() {
  const int row = currentRow_;
  if (currentColumn_ != 1) return;
  const std::string path = SelectMp3File();
  if (path == kNoFileChosen) {
    if (lastError_ != kNoFileChosen) ShowImportOutcome(Outcome::Refused(lastError_));
    return;
  }
  BeginAction();
  ShowImportOutcome(ImportInto(row, path));
}

// The import of the "Import..." button and of Enter: as the double-click, but a clip the row
// holds is replaced only when the user says so.
void Editor::ImportIntoCurrentRow() {
  const int row = currentRow_;
  const std::string path = SelectMp3File();
  if (path == kNoFileChosen) {
    if (lastError_ != kNoFileChosen) ShowImportOutcome(Outcome::Refused(lastError_));
    return;
  }
  const AudioEntry& occupant = project_.Library.Entry(row);
  if (occupant.Occupied() && !host_.AskYesNo(ReplaceQuestion(row, path), "Replace Clip")) return;
  BeginAction();
  ShowImportOutcome(ImportInto(row, path));
}

std::string Editor::ReplaceQuestion(int row, const std::string& path) const {
  const AudioEntry& occupant = project_.Library.Entry(row);
  const auto separator = path.find_last_of("/\\");
  const std::string file = separator == std::string::npos ? path : path.substr(separator + 1);
  return "Replace clip " + ThreeDigits(row) + " \"" + occupant.Short_FN + "\" with \"" + file +
         "\"?";
}

std::string Editor::GridHint() const {
  for (int clip = 1; clip <= kLibrarySize; ++clip) {
    if (project_.Library.Entry(clip).Occupied()) return {};
  }
  return kImportHint;
}

// The import holds the project folder's lock from the copy to the name map, and writes its
// own clip's line into the map as the disk holds it now.
Outcome Editor::ImportInto(int row, const std::string& path) {
  log_.Append("Full FN: " + path);
  const std::string shortName = ShortNameOf(path);
  log_.Append("Short_FN: " + shortName);
  std::optional<IntakeResult> converted;
  std::unique_ptr<FolderLock> lock;
  try {
    lock = LockProjectFolder();
    if (!ConvertsOnImport(path)) {
      CopyClipIntoProject(path, dirs_.Work_DIR, row, log_);
    } else if (converted = ConvertIntoProject(row, path); !converted) {
      return Outcome::Cancelled();
    }
  } catch (const EditorError& error) {
    return Outcome::Refused(error.what());
  }
  TakeAlarmEditsIntoImage();
  TakeOtherProgramsClips(row);
  project_.Library.Entry(row) = AudioEntry{path, shortName};
  RefreshClipSelectors();
  RememberImportFolder(path);
  WriteNameMap();
  lock.reset();
  NoteImported(row, converted ? *converted : CopiedResult(path));
  return Outcome::Done();
}

// The next import's dialog opens where this one came from, in this run and the next.
void Editor::RememberImportFolder(const std::string& path) {
  const auto separator = path.find_last_of("/\\");
  if (separator == std::string::npos) return;
  importFolder_ = path.substr(0, separator == 0 ? 1 : separator);
  host_.SetPreference(kImportFolderPreference, importFolder_);
}

// Removes the current row's clip: its project copy, its entry and every reference to it
// in the play list. A copy that cannot be deleted leaves everything in place, and so does a
// project folder that another program is changing.
void Editor::SpeedButton6Click() {
  const int row = currentRow_;
  const auto lock = LockProjectFolder();
  BeginAction();
  const std::string number = ThreeDigits(row);
  log_.Append("Sting Cell: " + number);
  DeleteProjectCopy(dirs_.Work_DIR, row);
  TakeAlarmEditsIntoImage();
  TakeOtherProgramsClips(row);
  project_.Library.Entry(row) = AudioEntry{};
  ForgetClipFacts(row);
  ForgetClip(image_, static_cast<std::uint8_t>(row));
  history_.ForgetClip(number);
  RefreshClipSelectors();
  WriteNameMap();
}

void Editor::SpeedButton4Click() {
  const int row = currentRow_;
  const std::string name = GridCell(row, 1);
  log_.Append(name);
  if (name.empty()) return;
  std::string path;
  if (controls_.PlaySource) {
    path = project_.Library.Entry(row).Full_FN;
    log_.Append(path);
    statusText_ = "Play Source: " + path;
  } else {
    path = ProjectCopyPath(dirs_.Work_DIR, row);
    statusText_ = "Play Project: " + path;
  }
  // Nobody would hear it: the status line says so instead of naming what plays.
  if (!player_.HasAudioOutput()) {
    statusText_ = "Cannot play " + path + ": there is no audio output";
    return;
  }
  // A pipe or device under a clip's name would stall the media framework; a missing or
  // damaged file is left to the player, which names its own reason.
  if (const FileRead probe = ReadFile(path, 0); probe.NotRegular) throw EditorError(probe.Failure);
  player_.SetFileName(path);
  playerOpen_ = false;
  player_.Open();
  playerOpen_ = true;
  player_.Play();
}

void Editor::SpeedButton5Click() {
  player_.Stop();
  statusText_ = "Playback Stop!!";
}

void Editor::NameClipSource(int number, const std::string& source) {
  if (number < 1 || number > kLibrarySize) {
    throw EditorError("The clip number must be from 1 to " + std::to_string(kLibrarySize) + ".");
  }
  // The name map holds one path a line.
  if (HasLineBreak(source)) {
    throw EditorError("The file's path contains a line break: " + QuotePath(source));
  }
  TakeAlarmEditsIntoImage();
  AudioEntry& entry = project_.Library.Entry(number);
  entry.Full_FN = source;
  entry.Short_FN = ShortNameOf(source);
  ForgetClipFacts(number);
  RefreshClipSelectors();
}

}  // namespace pwx
