#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

#include "common/EditorError.h"
#include "common/FileSystem.h"

#if defined(__unix__) || defined(__APPLE__)
#include <sys/resource.h>

#include <csignal>
#define PWX_HAS_FILE_SIZE_LIMIT 1
#endif

namespace pwx::testing {

// A fresh folder under the system's temp folder for one test, removed afterwards. WorkDir()
// is the folder text as the editor holds it: ending with the platform separator.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "pwx-devicefiles-" + std::to_string(random()) + "-" +
                       std::to_string(counter++) + "-" + (test ? test->name() : "fixture");
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    root_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(root_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string WorkDir() const { return root_.string() + kPathSeparator; }
  std::string PathOf(const std::string& name) const { return WorkDir() + name; }

  void Write(const std::string& name, std::string_view bytes) const {
    std::ofstream out(root_ / name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string Read(const std::string& name) const { return ReadAt(PathOf(name)); }
  bool Has(const std::string& name) const { return std::filesystem::exists(root_ / name); }
  void MakeFolder(const std::string& name) const {
    std::filesystem::create_directory(root_ / name);
  }

  // Names of everything in the folder, to show that a failed save leaves nothing behind.
  std::size_t EntryCount() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(root_),
                                                  std::filesystem::directory_iterator()));
  }

  static std::string ReadAt(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path root_;
};

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

// The text of the editor error an action raises, or "(no error)".
template <class Action>
std::string ErrorOf(Action&& action) {
  try {
    action();
  } catch (const EditorError& error) {
    return error.what();
  }
  return "(no error)";
}

}  // namespace pwx::testing
