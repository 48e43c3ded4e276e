#pragma once

#include <chrono>
#include <string>

namespace pwx {

// How long a change to a folder waits for another program's change to end before it is
// refused.
inline constexpr std::chrono::milliseconds kFolderLockWait{5000};

// The text of a change refused because another program is changing the folder.
std::string FolderBusyText(const std::string& folder);

// An advisory lock on a folder (a project folder or a card), held while this program changes
// what is in it, so that two programs never change one folder at once. Every instance of this
// program takes it before it changes a folder; other programs are not held back. The lock is
// on the folder itself, so nothing is written into it for the lock's sake, and it goes with
// the process if that is killed.
class FolderLock {
 public:
  // Waits up to `wait` for the lock. Raises EditorError with FolderBusyText when another
  // holder keeps it that long, or "Cannot open file ..." when the folder cannot be opened.
  explicit FolderLock(const std::string& folder, std::chrono::milliseconds wait = kFolderLockWait);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int descriptor_ = -1;
};

}  // namespace pwx
