#include "audio/ClipFiles.h"
#include "common/FileReplacement.h"
#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "devicefiles/NameMapFile.h"
#include "project/Editor.h"

// The project folder shared with other programs: every change holds the folder's lock and
// writes only its own lines of m3fn.txt as the disk holds them.
namespace pwx {

std::unique_ptr<FolderLock> Editor::LockProjectFolder() {
  const std::string folder = dirs_.Work_DIR.empty() ? "." : dirs_.Work_DIR;
  if (!FolderExists(folder)) return nullptr;
  auto lock = std::make_unique<FolderLock>(folder, folderLockWait_);
  // Nobody else writes in the folder now, so a temporary found here was left by a killed run.
  RemoveLeftoverTemporaries(folder);
  return lock;
}

void Editor::TakeOtherProgramsClips(int own) {
  const auto onDisk = NameMapOnDisk(dirs_.Work_DIR);
  if (!onDisk) return;  // nothing there to keep: this editor's map is written whole
  AudioLibrary library = project_.Library;
  const std::vector<int> taken = TakeOtherProgramsLines(library, knownNameMap_, *onDisk, own);
  for (int number = 1; number <= kLibrarySize; ++number) {
    if (number != own) knownNameMap_.Entry(number) = onDisk->Entry(number);
  }
  if (taken.empty()) return;
  TakeAlarmEditsIntoImage();
  project_.Library = library;
  for (const int number : taken) ForgetClipFacts(number);
  RefreshClipSelectors();
  statusText_ = OtherProgramsNotice(taken);
}

void Editor::WriteNameMap() {
  SaveNameMap(project_.Library, dirs_.Work_DIR, log_);
  knownNameMap_ = project_.Library;
}

}  // namespace pwx
