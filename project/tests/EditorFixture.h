#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "common/FileSystem.h"
#include "common/tests/TempFolder.h"
#include "project/Editor.h"
#include "project/tests/Fakes.h"

namespace pwx::testing {

// An editor started in a fresh start folder (also the process's current directory), with
// scripted dialogs and a fake player.
class EditorTest : public ::testing::Test {
 protected:
  void Start() {
    start.MakeCurrent();
    editor = std::make_unique<Editor>(host, player, start.Path());
    editor->FormActivate();
  }
  // Makes `folder` (under the start folder) the remembered project and starts.
  void StartWithProject(const std::string& folder) {
    std::filesystem::create_directories(start / folder);
    WriteFile(start / "PRJ.cfg", start.Dir() + folder + "/\r\n");
    Start();
  }
  std::string ProjectDir(const std::string& folder) const { return start.Dir() + folder + "/"; }
  bool Logged(const std::string& line) const {
    const auto& lines = editor->Log().Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  TempFolder start;
  FakeHost host;
  FakeAudioPlayer player;
  std::unique_ptr<Editor> editor;
};

// The 512 bytes of a new project, built without the encoder under test.
inline std::string NewPlayListBytes(std::uint8_t mode = 0) {
  std::string bytes(512, '\0');
  bytes[0] = '\x5A';
  bytes[1] = '\x35';
  bytes[2] = '\x77';
  bytes[3] = '\xA5';
  bytes[8] = static_cast<char>(mode);
  for (int s = 0; s < 64; ++s) bytes[96 + s] = 1;
  return bytes;
}

// m3fn.txt with the given paths on lines 1.. and the rest empty.
inline std::string NameMapBytes(const std::vector<std::pair<int, std::string>>& clips) {
  std::string lines[64];
  for (const auto& [number, path] : clips) lines[number - 1] = path;
  std::string bytes = "\xEF\xBB\xBF";
  for (const auto& line : lines) bytes += line + "\r\n";
  return bytes;
}

}  // namespace pwx::testing
