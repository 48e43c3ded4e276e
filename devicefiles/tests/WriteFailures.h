#pragma once

#include <string>

#include "common/tests/TempFolder.h"

#if defined(__unix__) || defined(__APPLE__)
#include <sys/resource.h>

#include <csignal>
#define PWX_HAS_FILE_SIZE_LIMIT 1
#endif

namespace pwx::testing {

#ifdef PWX_HAS_FILE_SIZE_LIMIT
// Lets this process write no file longer than `bytes` while it lives, so a save fails in the
// middle of writing even for root (who ignores read-only folders). Restores the limit after.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = SIG_DFL;
};
#endif

// The start of the error a failed save raises for a path.
inline std::string CannotCreatePrefix(const std::string& path) {
  return "Cannot create file \"" + path + "\". ";
}

}  // namespace pwx::testing
