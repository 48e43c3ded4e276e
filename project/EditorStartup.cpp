#include "common/FileSystem.h"
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
  startupDone_ = true;
}

void Editor::StartupFolders() {
  log_.Append(dirs_.Work_DIR);
  if (CreateFolder(dirs_.Work_DIR)) log_.Append("Work DIR Exists!");
  project_.Library.Clear();
}

void Editor::StartupProjectPointer() {
  const std::string pointer = ProjectPointerPath();
  log_.Append("PRJ.CFG : " + pointer);
  if (FileExists(pointer)) {
    dirs_.Work_DIR = ReadFirstLine(pointer);
    log_.Append("Get PRJ.CFG : " + dirs_.Work_DIR);
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

void Editor::LoadProjectFiles() {
  const std::string& work = dirs_.Work_DIR;
  if (FileExists(work + kNameMapFileName) && FileExists(work + kPlayListFileName)) {
    LoadNameMap(project_.Library, work, log_);
    RefreshClipSelectors();
    if (ReadPlayListFile(image_, work, log_) != 0) ApplyPlayList();
  } else {
    InitEmptyProject();
  }
}

void Editor::InitEmptyProject() {
  ResetPlayListImage(image_);
  project_.Library.Clear();
  ApplyPlayList();
}

}  // namespace pwx
