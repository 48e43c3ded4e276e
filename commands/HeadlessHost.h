#pragma once

#include <string>
#include <vector>

#include "audio/AudioPlayer.h"
#include "common/EditorError.h"
#include "common/Progress.h"
#include "project/Host.h"

namespace pwx {

// The editor's host when no window runs: dialogs are cancelled, questions are answered no,
// nothing is remembered between runs, and every message is kept for the command to print.
class HeadlessHost final : public Host {
 public:
  std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseMp3File(const std::string&) override { return std::nullopt; }
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  SaveAnswer AskSaveChanges(const std::string&) override { return SaveAnswer::Cancel; }
  void MessageBox(const std::string& text, const std::string&) override {
    Messages.push_back(text);
  }
  void ErrorBox(const std::string& text) override { Messages.push_back(text); }
  void ExploreFolder(const std::string&) override {}
  std::string Preference(const std::string&) override { return {}; }
  void SetPreference(const std::string&, const std::string&) override {}
  // Runs the work at once, with the command's cancel flag; its steps go to `Progress`.
  void RunLongWork(const std::string&, const LongWork& work) override { work({Progress, Cancel}); }

  std::vector<std::string> Messages;
  const std::atomic<bool>* Cancel = nullptr;  // the long work's, or none
  ProgressCallback Progress;                  // where the long work says how far it is
};

// The audio player when no window runs: it opens nothing.
class SilentPlayer final : public AudioPlayer {
 public:
  void SetFileName(const std::string&) override {}
  void Open() override { throw EditorError("There is no audio output without the window."); }
  void Play() override { throw EditorError(kNoDeviceOpenText); }
  void Stop() override { throw EditorError(kNoDeviceOpenText); }
  void Close() override {}
};

}  // namespace pwx
