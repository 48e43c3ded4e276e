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
#include "audio/tests/Mp3Bytes.h"
#include "common/EditorError.h"
#include "devicefiles/tests/ProjectFileBytes.h"
#include "project/Host.h"
#include "project/tests/Fakes.h"

namespace pwx::apptest {

// The core tests' player: it records the commands, and Play and Stop need an open file.
using FakePlayer = pwx::testing::FakeAudioPlayer;

// An MP3 the player plays, marked so that it can be told from others by its bytes.
inline QByteArray TestMp3(const QString& mark) {
  const std::string bytes = pwx::testing::Mp3Bytes(mark.toStdString());
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

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

using pwx::testing::PlayListBytes;

// m3fn.txt naming a source path for each given clip number.
inline QByteArray NameMap(const std::map<int, QString>& sources) {
  std::vector<std::pair<int, std::string>> clips;
  for (const auto& [clip, path] : sources) clips.emplace_back(clip, path.toStdString());
  return QByteArray::fromStdString(pwx::testing::NameMapBytes(clips));
}

// A window over a fresh start folder, with the fakes behind it; a dialog the test did not
// script is cancelled.
struct WindowUnderTest {
  StartFolder folder;
  pwx::testing::FakeHost host{pwx::testing::FakeHost::Unscripted::Cancel};
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
    folder.Write(QStringLiteral("plist.cfg"), QByteArray::fromStdString(playList.Bytes()));
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
