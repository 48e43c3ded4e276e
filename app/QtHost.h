#pragma once

#include <QFileDialog>
#include <QPointer>
#include <QSettings>
#include <functional>

#include "project/Host.h"

namespace pwx {

// The user's preferences: pwx36-editor/pwx36-editor.conf in the user's configuration folder.
QSettings Preferences();

// The folder dialog of "Load Project": it also accepts a typed folder that does not exist
// yet, so that the editor can offer to create it.
class FolderDialog : public QFileDialog {
 public:
  FolderDialog(QWidget* parent, const QString& title, const QString& startFolder);

  // The chosen folder without a trailing separator (unless it is a root).
  QString ChosenFolder() const;

 protected:
  void accept() override;
};

// The editor's ports on the real desktop: Qt dialogs, message boxes and the file manager.
class QtHost : public Host {
 public:
  explicit QtHost(QWidget* window = nullptr) : window_(window) {}

  // The window that owns the dialogs.
  void SetWindow(QWidget* window) { window_ = window; }

  // Called before every dialog and box, so that what the action has changed so far (a status
  // line naming the file that failed to play, say) is on screen behind it.
  void SetBeforeDialog(std::function<void()> refresh) { beforeDialog_ = std::move(refresh); }

  std::optional<std::string> ChooseFolder(const std::string& title,
                                          const std::string& startFolder) override;
  std::optional<std::string> ChooseMp3File(const std::string& startFolder) override;
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  SaveAnswer AskSaveChanges(const std::string& question) override;
  void MessageBox(const std::string& text, const std::string& caption) override;
  void ErrorBox(const std::string& text) override;
  void ExploreFolder(const std::string& folder) override;
  // On a thread of its own, under a window-modal progress dialog with Cancel.
  void RunLongWork(const std::string& title, const LongWork& work) override;
  // Kept with QSettings, under the application's name.
  std::string Preference(const std::string& key) override;
  void SetPreference(const std::string& key, const std::string& value) override;

 private:
  void BeforeDialog() const {
    if (beforeDialog_) beforeDialog_();
  }

  QPointer<QWidget> window_;
  std::function<void()> beforeDialog_;
};

}  // namespace pwx
