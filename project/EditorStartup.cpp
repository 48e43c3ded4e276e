#include "common/FileSystem.h"
#include "common/MessageText.h"
#include "common/TextFile.h"
#include "devicefiles/NameMapFile.h"
#include "devicefiles/RtuVolumeFiles.h"
#include "project/Editor.h"

namespace pwx {

// Each start-up step that fails shows its error and the sequence goes on with the next
// step, so the start-up always finishes and runs only once.
void Editor::RunStartupStep(void (Editor::*step)()) {
  Handle([&] { (this->*step)(); });
}

void Editor::FormActivate() {
  if (startupDone_) return;
  project_.Mode = AlarmMode{};
  pwx::ApplyModeLabels(view_, 0);
  RunStartupStep(&Editor::StartupFolders);
  RunStartupStep(&Editor::ResetEditorState);
  RunStartupStep(&Editor::StartupProjectPointer);
  RunStartupStep(&Editor::LoadProjectFiles);
  RunStartupStep(&Editor::StartupVolume);
  RunStartupStep(&Editor::StartupTempFolder);
  RunStartupStep(&Editor::StartupRtu);
  if (!projectToOpen_.empty()) RememberRecentProject(dirs_.Work_DIR);
  startupDone_ = true;
  MarkSaved();  // a project just opened has nothing unsaved
}

void Editor::StartupFolders() {
  log_.Append(dirs_.Work_DIR);
  if (CreateFolder(dirs_.Work_DIR)) log_.Append("Work DIR Exists!");
  ClearLibrary();
}

void Editor::StartupProjectPointer() {
  log_.Append("PRJ.CFG : " + ProjectPointerPath(dirs_.Currentdir));
  if (!projectToOpen_.empty()) {
    // The folder the program was given opens in place of PRJ.cfg's, which stays as it is.
    dirs_.Work_DIR = WithSeparator(projectToOpen_);
    log_.Append("Open DIR => " + dirs_.Work_DIR);
    if (!FolderExists(dirs_.Work_DIR)) {
      statusText_ = "Project folder not found: " + QuotePath(dirs_.Work_DIR);
    }
  } else if (const auto pointed = FolderInProjectPointer(dirs_.Currentdir)) {
    const std::string& folder = *pointed;
    dirs_.Work_DIR = folder;
    log_.Append("Get PRJ.CFG : " + dirs_.Work_DIR);
    // The project opens empty; the user learns why before the first save fails.
    if (!FolderExists(folder)) statusText_ = "Project folder not found: " + QuotePath(folder);
  }
  projectDirLabel_ = dirs_.Work_DIR;
  dirs_.Last_Work_DIR = dirs_.Work_DIR;
}

void Editor::StartupVolume() {
  ReadVolumeFile(project_, dirs_.Work_DIR, log_);
}

void Editor::StartupTempFolder() {
  if (CreateFolder(dirs_.Temp_DIR)) log_.Append("Temp DIR Exists!");
}

void Editor::StartupRtu() {
  ReadRtuFile(project_.Settings, dirs_.Work_DIR, log_);
}

void Editor::ResetEditorState() {
  controls_.PlaySourceEnabled = controls_.PlayProjectEnabled = true;
  controls_.PlaySource = true;
  controls_.LoadProjectEnabled = controls_.SaveProjectEnabled = true;
  dirs_.Work_DIR = dirs_.Last_Work_DIR;
  // The project pointer is read right after this; until then the folder label and the
  // load below follow the remembered folder.
  Handle([&] { LoadProjectFiles(); });
  controls_.ChannelTestEnabled = controls_.StopTestEnabled = false;
  projectDirLabel_ = dirs_.Work_DIR;
}

// Loads the name map and the play list of the work folder (see pwx::LoadProjectFiles) into
// the window's record, and raises the error of a file that could not be read at the end,
// once what was loaded is shown.
void Editor::LoadProjectFiles() {
  // The steps of another project, or of this one as it was before, do not apply to it.
  history_.Clear();
  // What an earlier loading said is not said of this folder.
  if (!loadNotice_.empty() && statusText_ == loadNotice_) statusText_.clear();
  loadNotice_.clear();
  ClearLibrary();
  LoadedProject loaded;
  loaded.Project = project_;
  loaded.Image = image_;
  loaded.ClipChoices = clipChoices_;
  const FolderLoading loading = pwx::LoadProjectFiles(loaded, dirs_.Work_DIR, log_);
  project_ = std::move(loaded.Project);
  image_ = loaded.Image;
  if (loaded.ClipChoices != clipChoices_) {
    clipChoices_ = std::move(loaded.ClipChoices);
    ++clipChoicesVersion_;
  }
  ApplyModeLabels(view_, project_.Mode.Value);
  knownNameMap_ = loading.NameMap;
  if (!loading.Notice.empty()) statusText_ = loadNotice_ = loading.Notice;
  if (!loading.Failure.empty()) throw EditorError(loading.Failure);
}

// A project's own settings and volume replace those on screen, read as the start-up reads
// them; a folder without them keeps what the window shows, so that settings carry over into
// a new project.
void Editor::ReadProjectSettings() {
  ReadSettingsFiles(project_, dirs_.Work_DIR, log_,
                    [this](const std::function<void()>& read) { Handle(read); });
}

}  // namespace pwx
