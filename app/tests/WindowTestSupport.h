#pragma once

// What the window tests share: a scripted Host, a recording player, a temporary start
// folder that is also the current directory, and the project files a test starts from.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Mp3_list.h"
#include "audio/AudioPlayer.h"
#include "common/EditorError.h"
#include "project/Host.h"
#include "project/tests/Fakes.h"

namespace pwx::apptest {

// Dialog answers come from scripts; every box is recorded, none is shown.
class FakeHost : public Host {
 public:
  std::deque<std::optional<std::string>> folderAnswers;
  std::deque<std::optional<std::string>> fileAnswers;
  std::deque<bool> yesNoAnswers;
  std::vector<std::string> errorBoxes;
  std::vector<std::string> messageBoxes;
  std::vector<std::string> explored;

  std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
    return Next(folderAnswers);
  }
  std::optional<std::string> ChooseMp3File() override { return Next(fileAnswers); }
  bool AskYesNo(const std::string&, const std::string&) override {
    if (yesNoAnswers.empty()) return false;
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
  }
  void MessageBox(const std::string& text, const std::string&) override {
    messageBoxes.push_back(text);
  }
  void ErrorBox(const std::string& text) override { errorBoxes.push_back(text); }
  void ExploreFolder(const std::string& folder) override { explored.push_back(folder); }

 private:
  // An unscripted dialog is cancelled.
  static std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// The core tests' player: it records the commands, and Play and Stop need an open file.
using FakePlayer = pwx::testing::FakeAudioPlayer;

// A fresh start folder, current directory while it lives: with no PRJ.cfg the editor uses
// bare file names, which then land here.
class StartFolder {
 public:
  StartFolder() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
  ~StartFolder() { QDir::setCurrent(previous_); }
  StartFolder(const StartFolder&) = delete;
  StartFolder& operator=(const StartFolder&) = delete;

  QString Path(const QString& name = {}) const {
    return name.isEmpty() ? dir_.path() : dir_.filePath(name);
  }
  std::string Native() const { return QDir::toNativeSeparators(dir_.path()).toStdString(); }
  bool Write(const QString& name, const QByteArray& bytes) const {
    QFile file(Path(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
  }

 private:
  QTemporaryDir dir_;
  QString previous_;
};

// m3fn.txt naming a source path for each given clip number.
inline QByteArray NameMap(const std::map<int, QString>& sources) {
  QByteArray bytes("\xEF\xBB\xBF");
  for (int clip = 1; clip <= 64; ++clip) {
    if (auto found = sources.find(clip); found != sources.end()) bytes += found->second.toUtf8();
    bytes += "\r\n";
  }
  return bytes;
}

// A 512-byte plist.cfg: every slot repeats once without clips until set.
class PlayListBytes {
 public:
  PlayListBytes() : bytes_(512, '\0') {
    bytes_[0] = '\x5A';
    bytes_[1] = '\x35';
    bytes_[2] = '\x77';
    bytes_[3] = '\xA5';
    for (int s = 0; s < 64; ++s) bytes_[96 + s] = 1;
  }
  PlayListBytes& Mode(int mode) {
    bytes_[8] = static_cast<char>(mode);
    return *this;
  }
  PlayListBytes& Slot(int slot, const std::vector<int>& clips, int repeat = 1, bool alarm = false) {
    bytes_[32 + slot] = static_cast<char>(clips.empty() ? 1 : clips.size());
    bytes_[96 + slot] = static_cast<char>(repeat);
    bytes_[160 + slot] = alarm ? 1 : 0;
    for (std::size_t k = 0; k < clips.size(); ++k) {
      bytes_[static_cast<int>(256 + 4 * slot + k)] = static_cast<char>(clips[k]);
    }
    return *this;
  }
  const QByteArray& Bytes() const { return bytes_; }

 private:
  QByteArray bytes_;
};

// A window over a fresh start folder, with the fakes behind it.
struct WindowUnderTest {
  StartFolder folder;
  FakeHost host;
  FakePlayer player;
  std::unique_ptr<TForm1> window;

  // Creates the window; `activate` runs the start-up as the first activation would.
  TForm1& Open(bool activate = true) {
    window = std::make_unique<TForm1>(host, player, folder.Native());
    if (activate) window->FormActivate();
    return *window;
  }
  // Writes a project with the given clips (source paths in this folder) and play list.
  void WriteProject(const std::vector<int>& clips, const PlayListBytes& playList) const {
    std::map<int, QString> sources;
    for (int clip : clips) sources[clip] = folder.Path(QStringLiteral("source%1.mp3").arg(clip));
    folder.Write(QStringLiteral("m3fn.txt"), NameMap(sources));
    folder.Write(QStringLiteral("plist.cfg"), playList.Bytes());
  }
  // Puts the window on screen; true once it can be seen.
  bool Show() const {
    window->show();
    return QTest::qWaitForWindowExposed(window.get());
  }
  template <class Widget>
  Widget* Find(const char* name) const {
    return window->findChild<Widget*>(QString::fromLatin1(name));
  }
  const Editor& Core() const { return window->editor(); }
};

}  // namespace pwx::apptest
