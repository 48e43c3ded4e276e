#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "common/tests/TempFolder.h"
#include "devicefiles/tests/ProjectFileBytes.h"
#include "project/Editor.h"
#include "project/tests/Fakes.h"

namespace pwx::testing {

// Every regular file of a folder by name, with its bytes.
inline std::map<std::string, std::string> FilesIn(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().filename().string()] = ReadWhole(entry.path());
  }
  return files;
}

// A saved project of three clips in `folder` (made), opened in an editor that runs without
// a window; `files` holds the bytes of its player files.
class CardTestProject {
 public:
  CardTestProject(const std::string& startFolder, const std::string& folder) {
    std::filesystem::create_directories(folder);
    std::vector<std::pair<int, std::string>> map;
    const char* clips[] = {"mpeg1-stereo-cbr.mp3", "mpeg1-mono-vbr.mp3", "mpeg2-mono-cbr.mp3"};
    for (int n = 1; n <= 3; ++n) {
      const std::string copy = folder + "/00" + std::to_string(n) + ".mp3";
      std::filesystem::copy_file(std::string(PWX_CLIP_FIXTURES) + "/" + clips[n - 1], copy);
      map.emplace_back(n, copy);
    }
    WriteFile(folder + "/m3fn.txt", NameMapBytes(map));
    WriteFile(folder + "/plist.cfg", PlayListBytes().Saved().Slot(0, {1, 2, 3}).Bytes());
    editor = std::make_unique<Editor>(host, player, startFolder);
    editor->OpenProjectFolder(folder);
    editor->SpeedButton9Click();
    files = FilesIn(folder);
  }

  ProjectSnapshot Snapshot() const { return editor->Snapshot(); }

  FakeHost host;
  FakeAudioPlayer player;
  std::unique_ptr<Editor> editor;
  std::map<std::string, std::string> files;
};

}  // namespace pwx::testing
