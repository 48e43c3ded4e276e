#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

#include "common/EditorError.h"
#include "common/FileSystem.h"

namespace pwx::testing {

// A fresh folder under the system's temp folder, removed with everything in it at the end.
// Also remembers and restores the process's current directory, since bare project file
// names resolve against it.
class TempFolder {
 public:
  TempFolder() : previous_(std::filesystem::current_path()) {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("pwx-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string Path() const { return path_.string(); }
  // The folder with the separator appended, as project folder texts are held.
  std::string Dir() const { return path_.string() + kPathSeparator; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  void MakeCurrent() const { std::filesystem::current_path(path_); }

  void Write(const std::string& name, std::string_view bytes) const {
    std::ofstream out(path_ / name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string Read(const std::string& name) const { return ReadAt(*this / name); }
  bool Has(const std::string& name) const { return std::filesystem::exists(path_ / name); }
  void MakeFolder(const std::string& name) const {
    std::filesystem::create_directory(path_ / name);
  }
  // How many entries the folder holds, to show that a failed save leaves nothing behind.
  std::size_t EntryCount() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path_),
                                                  std::filesystem::directory_iterator()));
  }
  static std::string ReadAt(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline std::string ReadWhole(const std::string& path) {
  return TempFolder::ReadAt(path);
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
