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
}

// Save Project: the player's files in their fixed order; the first that fails stops it. The
// save holds the project folder's lock and keeps the clips another program changed since.
void Editor::SpeedButton9Click() {
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
  MarkSaved();
}

// Open Folder: the project folder in the file manager; with no project folder chosen yet,
// the folder the bare file names resolve against.
void Editor::SpeedButton1Click() {
  log_.Append(dirs_.Work_DIR);
  if (!dirs_.Work_DIR.empty()) {
    host_.ExploreFolder(dirs_.Work_DIR);
    return;
  }
  std::error_code ec;
  const auto here = std::filesystem::current_path(ec);
  const auto text = here.u8string();
  host_.ExploreFolder(std::string(text.begin(), text.end()));
}

}  // namespace pwx
