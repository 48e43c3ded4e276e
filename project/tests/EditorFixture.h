#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "common/FileSystem.h"
#include "common/tests/TempFolder.h"
#include "devicefiles/tests/ProjectFileBytes.h"
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

}  // namespace pwx::testing
