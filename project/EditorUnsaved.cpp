#include "common/FileSystem.h"
#include "common/MessageText.h"
#include "common/PathText.h"
#include "devicefiles/RtuVolumeFiles.h"
#include "project/Editor.h"

namespace pwx {

void Editor::OpenProjectFolder(const std::string& folder) {
  if (!FolderExists(folder)) throw EditorError("Project folder not found: " + QuotePath(folder));
  dirs_.Work_DIR = dirs_.Last_Work_DIR = WithSeparator(folder);
  projectDirLabel_ = dirs_.Work_DIR;
  project_.Mode = AlarmMode{};
  ApplyModeLabels(view_, 0);
  LoadProjectFiles();
  ReadSettingsFiles(project_, dirs_.Work_DIR, log_,
                    [](const std::function<void()>& read) { read(); });
  startupDone_ = true;
  MarkSaved();
}

ProjectSnapshot Editor::Snapshot() const {
  return SnapshotOf(project_, image_, dirs_.Work_DIR);
}

SavedFiles Editor::FilesASaveWrites() const {
  return pwx::FilesASaveWrites(image_, project_);
}

bool Editor::HasUnsavedChanges() const {
  return FilesASaveWrites() != savedFiles_;
}

std::string Editor::WindowTitle() const {
  std::string title = HasUnsavedChanges() ? "*" : "";
  title += kWindowTitle;
  // Which project is open, by its folder's name.
  const std::string name = FolderName(dirs_.Work_DIR);
  if (!name.empty()) title += " \u2013 " + name;
  return title;
}

std::vector<RecentProject> Editor::RecentProjects() {
  std::vector<RecentProject> list;
  for (const std::string& folder :
       ParseRecentProjects(host_.Preference(kRecentProjectsPreference))) {
    list.push_back({folder, FolderExists(folder)});
  }
  return list;
}

void Editor::RememberRecentProject(const std::string& folder) {
  const auto earlier = ParseRecentProjects(host_.Preference(kRecentProjectsPreference));
  const auto now = WithRecentProject(earlier, folder);
  if (now != earlier) host_.SetPreference(kRecentProjectsPreference, FormatRecentProjects(now));
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

bool Editor::ReadyToCopy() {
  return ConfirmUnsaved(kSaveBeforeCopyingQuestion);
}

bool Editor::CloseWindow() {
  if (!ConfirmUnsaved(kSaveBeforeClosingQuestion)) return false;
  player_.Close();
  playerOpen_ = false;
  return true;
}

}  // namespace pwx
