#include "audio/ClipFiles.h"
#include "common/FileReplacement.h"
#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "devicefiles/NameMapFile.h"
#include "project/Editor.h"

// The project folder shared with other programs: every change holds the folder's lock and
// writes only its own lines of m3fn.txt as the disk holds them, and a library that lost its
// lines is listed again from the copies that are there.
namespace pwx {

namespace {

std::string ClipNumbers(const std::vector<int>& clips) {
  std::string list;
  for (const int clip : clips) list += (list.empty() ? "" : ", ") + ThreeDigits(clip);
  return list;
}

// Whether any clip choice of the slots a save writes names the clip.
bool PlayListNames(const PlayListImage& image, int clip) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    for (int k = 0; k < kClipsPerSlot; ++k) {
      if (StoredClip(image, slot, k) == clip) return true;
    }
  }
  return false;
}

}  // namespace

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

std::string Editor::ListClipsFromCopies(std::size_t mapLines, bool hasMap) {
  std::vector<int> listed;
  for (int number = 1; number <= kLibrarySize; ++number) {
    AudioEntry& entry = project_.Library.Entry(number);
    if (entry.Occupied()) continue;
    const bool noLine = !hasMap || static_cast<std::size_t>(number) > mapLines;
    if (!noLine && !PlayListNames(image_, number)) continue;  // a stray copy stays stray
    const std::string copy = ProjectCopyPath(dirs_.Work_DIR, number);
    if (!FileExists(copy)) continue;
    entry = AudioEntry{copy, ShortNameOf(copy)};
    listed.push_back(number);
  }
  if (listed.empty()) return {};
  RefreshClipSelectors();
  const bool one = listed.size() == 1;
  const std::string clips = (one ? "clip " : "clips ") + ClipNumbers(listed);
  const std::string how =
      std::string(one ? " is listed from its copy" : " are listed from their copies") +
      " in the project folder";
  if (!hasMap) return std::string(kNameMapFileName) + " is missing: " + clips + how;
  return std::string(kNameMapFileName) + " names no source for " + clips + "; " +
         (one ? "it" : "they") + how;
}

}  // namespace pwx
