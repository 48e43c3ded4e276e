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

std::optional<std::string> Editor::FolderInProjectPointer() const {
  const std::string pointer = ProjectPointerPath();
  if (!EntryExists(pointer)) return std::nullopt;
  std::string folder = ReadFirstLine(pointer);
  // A folder written by hand often lacks its final separator; without it every project
  // file would be named beside the folder instead of inside it.
  if (!folder.empty()) folder = WithSeparator(folder);
  return folder;
}

std::string Editor::ProjectFolderAtStartup() const {
  // Without PRJ.cfg the first start-up has no project folder and names its files plainly,
  // so they are found in the start folder.
  return FolderInProjectPointer().value_or(dirs_.Currentdir + kPathSeparator);
}

void Editor::StartupProjectPointer() {
  log_.Append("PRJ.CFG : " + ProjectPointerPath());
  if (!projectToOpen_.empty()) {
    // The folder the program was given opens in place of PRJ.cfg's, which stays as it is.
    dirs_.Work_DIR = WithSeparator(projectToOpen_);
    log_.Append("Open DIR => " + dirs_.Work_DIR);
    if (!FolderExists(dirs_.Work_DIR)) {
      statusText_ = "Project folder not found: " + QuotePath(dirs_.Work_DIR);
    }
  } else if (const auto pointed = FolderInProjectPointer()) {
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

// Loads the name map and the play list that the folder has; a missing one gives its empty
// default. A folder with neither is a new project. One that cannot be read is shown as
// missing and its error raised at the end, so that nothing of the previous project stays
// behind to be saved into this folder. Clips whose copies are there without a line in the
// name map are listed from their copies.
void Editor::LoadProjectFiles() {
  const std::string& work = dirs_.Work_DIR;
  // The steps of another project, or of this one as it was before, do not apply to it.
  history_.Clear();
  // What an earlier loading said is not said of this folder.
  if (!loadNotice_.empty() && statusText_ == loadNotice_) statusText_.clear();
  loadNotice_.clear();
  const bool hasNameMap = EntryExists(work + kNameMapFileName);
  const bool hasPlayList = EntryExists(work + kPlayListFileName);
  std::string notice;
  const auto say = [&notice](const std::string& text) {
    if (!text.empty()) notice += (notice.empty() ? "" : "; ") + text;
  };
  std::string failure;
  std::size_t mapLines = 0;
  if (!hasNameMap && !hasPlayList) {
    InitEmptyProject();
  } else {
    ClearLibrary();
    if (hasNameMap) {
      try {
        say(OmissionsNotice(LoadNameMap(project_.Library, work, log_, &mapLines)));
      } catch (const EditorError& error) {
        failure = error.what();
        ClearLibrary();
        mapLines = 0;
      }
    }
    if (!hasPlayList) ResetPlayListImage(image_);
    RefreshClipSelectors();
    if (hasPlayList) {
      try {
        if (ReadPlayListFile(image_, work, log_) != 0) ApplyPlayList();
      } catch (const EditorError& error) {
        if (failure.empty()) failure = error.what();
        ResetPlayListImage(image_);
        ApplyPlayList();
      }
    }
  }
  knownNameMap_ = project_.Library;
  say(ListClipsFromCopies(mapLines, hasNameMap));
  if (!notice.empty()) statusText_ = loadNotice_ = notice;
  if (!failure.empty()) throw EditorError(failure);
}

// A project's own settings and volume replace those on screen, read as the start-up reads
// them; a folder without them keeps what the window shows, so that settings carry over into
// a new project.
void Editor::ReadProjectSettings() {
  ReadSettingsFiles([this](const std::function<void()>& read) { Handle(read); });
}

void Editor::ReadSettingsFiles(const std::function<void(const std::function<void()>&)>& run) {
  const std::string& work = dirs_.Work_DIR;
  if (EntryExists(work + kVolumeFileName)) run([&] { ReadVolumeFile(project_, work, log_); });
  if (EntryExists(work + kRtuFileName)) {
    run([&] {
      ModbusRtuSettings settings;
      ReadRtuFile(settings, work, log_);
      project_.Settings = settings;
    });
  }
}

void Editor::InitEmptyProject() {
  ResetPlayListImage(image_);
  ClearLibrary();
  ApplyPlayList();
}

}  // namespace pwx
