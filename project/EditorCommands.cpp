#include <exception>
#include <filesystem>

#include "common/FileReplacement.h"
#include "common/FileSystem.h"
#include "common/MessageText.h"
#include "devicefiles/NameMapFile.h"
#include "devicefiles/RtuVolumeFiles.h"
#include "project/Editor.h"

namespace pwx {

inline constexpr const char* kSelectDirectoryTitle = "Select Directory";
inline constexpr const char* kCreateFolderQuestion =
    "The specified directory does not exist. Create it?";

// Load Project: choose a folder, remember it in PRJ.cfg and open it with its settings and
// volume. Cancelling the dialog changes nothing.
void Editor::SpeedButton7Click() {
  if (!ConfirmUnsaved(kSaveBeforeLoadingQuestion)) return;
  std::string work = dirs_.Work_DIR;
  if (CreateFolder(work)) {
    log_.Append("Work DIR Exists => " + work);
  } else {
    log_.Append("Work_DIR Not Exists => " + work);
    work = DefaultWorkDir();
    log_.Append("Assign Work_DIR => " + work);
  }
  auto chosen = host_.ChooseFolder(kSelectDirectoryTitle, work);
  if (!chosen) return;
  // PRJ.cfg holds the folder as one line.
  if (HasLineBreak(*chosen)) {
    throw EditorError("The folder's path contains a line break: " + QuotePath(*chosen));
  }
  if (!FolderExists(*chosen)) {
    if (!host_.AskYesNo(kCreateFolderQuestion, "Confirm")) return;
    CreateFolderWithParents(*chosen);
  }
  std::string folder = *chosen;
  log_.Append("Select DIR => " + folder);
  if (folder != work) folder += kPathSeparator;
  OpenChosenProject(folder);
}

// A recent project: Load Project without its dialog. A folder that is gone is not made anew.
void Editor::LoadRecentProject(const std::string& folder) {
  if (!ConfirmUnsaved(kSaveBeforeLoadingQuestion)) return;
  if (!FolderExists(folder)) throw EditorError("Project folder not found: " + QuotePath(folder));
  log_.Append("Select DIR => " + folder);
  OpenChosenProject(WithSeparator(folder));
}

// The end of Load Project, once the folder is known: PRJ.cfg names it, and it opens with its
// settings and volume.
void Editor::OpenChosenProject(const std::string& folder) {
  BeginAction();
  log_.Append(folder);
  log_.Append("Currentdir => " + dirs_.Currentdir);
  const std::string pointer = ProjectPointerPath(dirs_.Currentdir);
  log_.Append("Select Filenamepath => " + pointer);
  ReplaceFile(pointer, folder + "\r\n");
  projectDirLabel_ = folder;
  dirs_.Work_DIR = dirs_.Last_Work_DIR = folder;
  Handle([&] { LoadProjectFiles(); });
  ReadProjectSettings();
  MarkSaved();
  RememberRecentProject(folder);
}

// Save Project: the player's files in their fixed order; the first that fails stops it. The
// save holds the project folder's lock and keeps the clips another program changed since.
void Editor::SpeedButton9Click() {
  BeginAction();
  std::optional<UserNotice> refusedRtu;
  std::exception_ptr failure;
  {
    const auto lock = LockProjectFolder();
    try {
      TakeOtherProgramsClips(0);
      WritePlayListFile(image_, project_, dirs_.Work_DIR, log_);
      WriteNameMap();
      refusedRtu = WriteRtuFile(project_.Settings, dirs_.Work_DIR, log_);
      WriteVolumeAndErrorClip(project_.Volume, dirs_.Work_DIR, log_);
    } catch (...) {
      failure = std::current_exception();
    }
  }
  // A refused rtu.cfg is said before a later file's error; the folder is not held while the
  // box waits for the user.
  if (refusedRtu) host_.MessageBox(refusedRtu->Text, refusedRtu->Caption);
  if (failure) std::rethrow_exception(failure);
  // What the save found besides (clips another program changed) is said after what it wrote.
  const std::string besides = statusText_.empty() ? "" : "; " + statusText_;
  std::string written = std::string("Saved: ") + kPlayListFileName + ", " + kNameMapFileName;
  if (!refusedRtu) written += std::string(", ") + kRtuFileName;
  written += std::string(", ") + kVolumeFileName + ", " + kErrorClipFileName + " in " +
             ProjectFolderText();
  if (!refusedRtu) {
    MarkSaved();
    statusText_ = written + besides;
    if (besides.empty()) passingStatus_ = statusText_;
    return;
  }
  // rtu.cfg holds what it held: the settings on screen are still unsaved.
  const RtuFileContent onDisk =
      savedFiles_.Rtu.Line ? savedFiles_.Rtu
                           : RtuFileContent{std::nullopt, UserNotice{"not written", kRtuFileName}};
  MarkSaved();
  savedFiles_.Rtu = onDisk;
  statusText_ = written + "; " + kRtuFileName + " not written: " + refusedRtu->Text + besides;
}

std::string Editor::ProjectFolderText() const {
  if (!dirs_.Work_DIR.empty()) return dirs_.Work_DIR;
  std::error_code ec;
  const auto text = std::filesystem::current_path(ec).u8string();
  return std::string(text.begin(), text.end());
}

void Editor::BeginAction() {
  statusText_.clear();
  passingStatus_.clear();
}

void Editor::ExpireStatus() {
  if (StatusExpires()) statusText_.clear();
  passingStatus_.clear();
}

// Open Folder: the project folder in the file manager; with no project folder chosen yet,
// the folder the bare file names resolve against.
void Editor::SpeedButton1Click() {
  log_.Append(dirs_.Work_DIR);
  host_.ExploreFolder(ProjectFolderText());
}

}  // namespace pwx
