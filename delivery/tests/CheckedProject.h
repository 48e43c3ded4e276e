// A saved project in a temporary folder for the tests of the project check, and the helpers
// that list what the check finds.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/tests/TempFolder.h"
#include "delivery/ProjectCheck.h"
#include "devicefiles/tests/ProjectFileBytes.h"
#include "project/Editor.h"
#include "project/tests/Fakes.h"

namespace pwx {

namespace fs = std::filesystem;
using testing::PlayListBytes;
using testing::WriteFile;

inline std::string Fixture(const std::string& name) {
  return std::string(PWX_CLIP_FIXTURES) + "/" + name;
}

// A saved project in mode 0: clip 1 (stereo) in DI1, clip 2 (mono) in DI2, both imported
// from sources beside the project; DI3 and DI4 without clips.
class Checked : public ::testing::Test {
 public:
  void SetUp() override {
    fs::create_directories(dir / "P");
    fs::create_directories(dir / "src");
    Clip(1, "mpeg1-stereo-cbr.mp3");
    Clip(2, "mpeg1-mono-vbr.mp3");
    plist = PlayListBytes().Saved().Slot(0, {1}).Slot(1, {2});
    Open();
    editor->SpeedButton9Click();  // writes rtu.cfg, vol.cfg and Err1.mp3
  }
  // Imports clip `number` as Editor would: the source beside the project, its copy inside.
  void Clip(int number, const std::string& fixture) {
    const std::string source = dir / ("src/" + std::to_string(number) + "-" + fixture);
    fs::copy_file(Fixture(fixture), source, fs::copy_options::overwrite_existing);
    fs::copy_file(Fixture(fixture), Copy(number), fs::copy_options::overwrite_existing);
    map.emplace_back(number, source);
  }
  std::string Copy(int number) const {
    return dir / ("P/" + std::string(number < 10 ? "00" : "0") + std::to_string(number) + ".mp3");
  }
  void Open() {
    WriteFile(dir / "P/m3fn.txt", testing::NameMapBytes(map));
    WriteFile(dir / "P/plist.cfg", plist.Bytes());
    editor = std::make_unique<Editor>(host, player, dir.Path());
    editor->OpenProjectFolder(dir / "P");
  }
  // Every finding as "code @ where", infos about the format left out.
  std::vector<std::string> Found(bool compareWithDisk = true) {
    CheckOptions options;
    options.CompareWithDisk = compareWithDisk;
    findings = CheckProject(editor->Snapshot(), options);
    std::vector<std::string> found;
    for (const auto& f : findings) {
      if (f.Code != "copy-format") found.push_back(f.Code + " @ " + f.Where());
    }
    return found;
  }
  const Finding& Only(const std::string& code) const {
    const auto at = std::find_if(findings.begin(), findings.end(),
                                 [&](const Finding& f) { return f.Code == code; });
    EXPECT_NE(at, findings.end()) << code;
    static const Finding none;
    return at == findings.end() ? none : *at;
  }

  testing::TempFolder dir;
  testing::FakeHost host;
  testing::FakeAudioPlayer player;
  std::unique_ptr<Editor> editor;
  std::vector<std::pair<int, std::string>> map;
  PlayListBytes plist;
  std::vector<Finding> findings;
};

inline const std::vector<std::string> kSilentDi3Di4 = {"input-silent @ DI3", "input-silent @ DI4"};

// Findings about clips come before those about inputs, and those about settings and files
// after them.
inline std::vector<std::string> With(std::vector<std::string> clips,
                                     const std::vector<std::string>& files = {}) {
  clips.insert(clips.end(), kSilentDi3Di4.begin(), kSilentDi3Di4.end());
  clips.insert(clips.end(), files.begin(), files.end());
  return clips;
}
inline std::vector<std::string> Then(const std::vector<std::string>& files) {
  return With({}, files);
}

}  // namespace pwx
