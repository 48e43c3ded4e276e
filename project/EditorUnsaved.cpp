#include "project/Editor.h"

namespace pwx {

SavedFiles Editor::FilesASaveWrites() const {
  DiagnosticLog scratch;  // the traces of a real save are not wanted here
  return SavedFiles{PlayListASaveWrites(image_, project_, scratch),
                    RtuFileFor(project_.Settings, scratch), VolumeFileFor(project_.Volume)};
}

bool Editor::HasUnsavedChanges() const {
  return FilesASaveWrites() != savedFiles_;
}

std::string Editor::WindowTitle() const {
  std::string title = HasUnsavedChanges() ? "*" : "";
  title += kWindowTitle;
  return title;
}

bool Editor::ConfirmUnsaved(const std::string& question) {
  if (!HasUnsavedChanges()) return true;
  switch (host_.AskSaveChanges(question)) {
    case Host::SaveAnswer::Save:
      // Goes on only when the save succeeded; a failed one has shown its error.
      return Handle([this] { SpeedButton9Click(); });
    case Host::SaveAnswer::Discard:
      return true;
    case Host::SaveAnswer::Cancel:
      break;
  }
  return false;
}

bool Editor::CloseWindow() {
  if (!ConfirmUnsaved(kSaveBeforeClosingQuestion)) return false;
  player_.Close();
  playerOpen_ = false;
  return true;
}

}  // namespace pwx
