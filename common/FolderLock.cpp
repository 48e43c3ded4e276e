#include "common/FolderLock.h"

#include <cerrno>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include "common/EditorError.h"
#include "common/FileReading.h"
#include "common/FileSystem.h"
#include "common/MessageText.h"

namespace pwx {

std::string FolderBusyText(const std::string& folder) {
  return "Another program is changing \"" + QuotePath(folder) +
         "\" (another copy of the editor or a command); try again when it has finished.";
}

#ifdef _WIN32

// Windows holds no advisory lock on a folder; a change there is not held back.
FolderLock::FolderLock(const std::string&, std::chrono::milliseconds) {}
FolderLock::~FolderLock() = default;

#else

FolderLock::FolderLock(const std::string& folder, std::chrono::milliseconds wait) {
  const std::string path = folder.empty() ? "." : folder;
  descriptor_ = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor_ < 0) throw EditorError(CannotOpenText(path, SystemReason(errno)));
  const auto until = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (flock(descriptor_, LOCK_EX | LOCK_NB) == 0) return;
    const int reason = errno;
    if (reason == EINTR) continue;
    // A file system without locks (some network shares) cannot hold anyone back.
    if (reason == ENOLCK || reason == EOPNOTSUPP || reason == ENOTSUP) return;
    if (std::chrono::steady_clock::now() >= until) {
      ::close(descriptor_);
      descriptor_ = -1;
      throw EditorError(FolderBusyText(path));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
}

FolderLock::~FolderLock() {
  if (descriptor_ >= 0) ::close(descriptor_);  // closing lets the lock go
}

#endif

}  // namespace pwx
