#pragma once

#include <deque>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "audio/AudioPlayer.h"
#include "common/EditorError.h"
#include "project/Host.h"

namespace pwx::testing {

// A Host whose dialogs answer from scripts and whose boxes are recorded. A dialog without a
// scripted answer fails the test, or, for journeys through the window that are not about
// dialogs, is cancelled.
class FakeHost : public Host {
 public:
  enum class Unscripted { Fail, Cancel };
  explicit FakeHost(Unscripted unscripted = Unscripted::Fail) : unscripted_(unscripted) {}

  struct Box {
    std::string text;
    std::string caption;
    bool operator==(const Box&) const = default;
  };

  std::deque<std::optional<std::string>> folderAnswers;
  std::deque<std::optional<std::string>> fileAnswers;
  std::deque<bool> yesNoAnswers;
  std::deque<SaveAnswer> saveAnswers;
  std::map<std::string, std::string> preferences;
  std::vector<std::string> fileDialogStarts;
  std::vector<std::string> folderDialogStarts;
  std::vector<Box> messageBoxes;
  std::vector<std::string> errorBoxes;
  std::vector<std::string> questions;
  std::vector<std::string> explored;

  std::optional<std::string> ChooseFolder(const std::string& title,
                                          const std::string& startFolder) override {
    folderDialogStarts.push_back(title + "|" + startFolder);
    return Next(folderAnswers);
  }
  std::optional<std::string> ChooseMp3File(const std::string& startFolder) override {
    fileDialogStarts.push_back(startFolder);
    return Next(fileAnswers);
  }
  SaveAnswer AskSaveChanges(const std::string& question) override {
    questions.push_back(question);
    if (saveAnswers.empty()) {
      if (unscripted_ == Unscripted::Cancel) return SaveAnswer::Cancel;
      throw std::logic_error("unexpected question: " + question);
    }
    const SaveAnswer answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
  }
  std::string Preference(const std::string& key) override { return preferences[key]; }
  void SetPreference(const std::string& key, const std::string& value) override {
    preferences[key] = value;
  }
  bool AskYesNo(const std::string& text, const std::string&) override {
    questions.push_back(text);
    if (yesNoAnswers.empty()) {
      if (unscripted_ == Unscripted::Cancel) return false;
      throw std::logic_error("unexpected question: " + text);
    }
    bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
  }
  void MessageBox(const std::string& text, const std::string& caption) override {
    messageBoxes.push_back({text, caption});
  }
  void ErrorBox(const std::string& text) override { errorBoxes.push_back(text); }
  void ExploreFolder(const std::string& folder) override { explored.push_back(folder); }
  // Runs long work at once, as if the user pressed Cancel at its start when `cancelWork`,
  // and keeps the steps it reports.
  void RunLongWork(const std::string& title, const LongWork& work) override {
    longWork.push_back(title);
    const std::atomic<bool> cancel{cancelWork};
    work(WorkControl{[this](const ProgressStep& step) { steps.push_back(step); }, &cancel});
  }
  bool cancelWork = false;
  std::vector<std::string> longWork;
  std::vector<ProgressStep> steps;

 private:
  std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) const {
    if (answers.empty()) {
      if (unscripted_ == Unscripted::Cancel) return std::nullopt;
      throw std::logic_error("unexpected dialog");
    }
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }

  Unscripted unscripted_;
};

// A player that records its commands and keeps the open/closed rule of the real one.
class FakeAudioPlayer : public AudioPlayer {
 public:
  std::vector<std::string> calls;
  std::string failOpenWith;  // platform text for the next Open, if any
  bool open = false;

  void SetFileName(const std::string& path) override {
    calls.push_back("file " + path);
    fileName_ = path;
  }
  void Open() override {
    open = false;
    calls.push_back("open");
    if (!failOpenWith.empty()) throw EditorError(failOpenWith);
    open = true;
  }
  void Play() override {
    Require();
    calls.push_back("play");
  }
  void Stop() override {
    Require();
    calls.push_back("stop");
  }
  void Close() override {
    open = false;
    calls.push_back("close");
  }
  bool HasAudioOutput() override { return hasOutput; }
  bool hasOutput = true;

 private:
  void Require() const {
    if (!open) throw EditorError(kNoDeviceOpenText);
  }
  std::string fileName_;
};

}  // namespace pwx::testing
