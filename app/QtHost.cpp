#include "app/QtHost.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QUrl>
#include <exception>

#include "app/AboutBox.h"
#include "app/BackgroundWork.h"
#include "app/QtText.h"
#include "audio/ClipFiles.h"

namespace pwx {

namespace {

std::string PathText(const QString& path) {
  return QDir::toNativeSeparators(QDir::cleanPath(path)).toStdString();
}

QString BoxTitle() {
  return QString::fromLatin1(kDisplayName);
}

}  // namespace

QSettings Preferences() {
  return QSettings(QSettings::UserScope, QStringLiteral("pwx36-editor"),
                   QStringLiteral("pwx36-editor"));
}

FolderDialog::FolderDialog(QWidget* parent, const QString& title, const QString& startFolder)
    : QFileDialog(parent, title, startFolder) {
  setFileMode(QFileDialog::Directory);
  setOption(QFileDialog::ShowDirsOnly, true);
  // Qt's own dialog, so that a typed name reaches accept() below on every platform.
  setOption(QFileDialog::DontUseNativeDialog, true);
}

QString FolderDialog::ChosenFolder() const {
  const QStringList files = selectedFiles();
  return files.isEmpty() ? QString() : files.first();
}

void FolderDialog::accept() {
  // Qt refuses a folder that does not exist; here it is an answer like any other.
  const QString folder = ChosenFolder();
  if (!folder.isEmpty() && !QFileInfo::exists(folder)) {
    QDialog::accept();
    return;
  }
  QFileDialog::accept();
}

std::optional<std::string> QtHost::ChooseFolder(const std::string& title,
                                                const std::string& startFolder) {
  BeforeDialog();
  FolderDialog dialog(window_, Text(title), Text(startFolder));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QString folder = dialog.ChosenFolder();
  if (folder.isEmpty()) return std::nullopt;
  return PathText(folder);
}

std::optional<std::string> QtHost::ChooseMp3File(const std::string& startFolder) {
  BeforeDialog();
  QFileDialog dialog(window_);
  if (!startFolder.empty() && QFileInfo(Text(startFolder)).isDir()) {
    dialog.setDirectory(Text(startFolder));
  }
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  // The MP3 filter stays the default: an MP3 is copied as it is, any other sound converted.
  QStringList patterns;
  for (const std::string_view suffix : kSoundFileSuffixes) {
    patterns << QLatin1Char('*') +
                    QString::fromLatin1(suffix.data(), static_cast<qsizetype>(suffix.size()));
  }
  dialog.setNameFilters(
      {QStringLiteral("MP3 File (*.mp3)"),
       QStringLiteral("Audio files (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')')});
  dialog.selectNameFilter(QStringLiteral("MP3 File (*.mp3)"));
  dialog.setDefaultSuffix(QStringLiteral("mp3"));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return PathText(files.first());
}

bool QtHost::AskYesNo(const std::string& text, const std::string& caption) {
  BeforeDialog();
  return QMessageBox::question(window_, Text(caption), Text(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

Host::SaveAnswer QtHost::AskSaveChanges(const std::string& question) {
  BeforeDialog();
  QMessageBox box(QMessageBox::Question, BoxTitle(), Text(question),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, window_);
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Save:
      return SaveAnswer::Save;
    case QMessageBox::Discard:
      return SaveAnswer::Discard;
    default:
      return SaveAnswer::Cancel;
  }
}

void QtHost::MessageBox(const std::string& text, const std::string& caption) {
  BeforeDialog();
  QMessageBox box(QMessageBox::NoIcon, Text(caption), Text(text), QMessageBox::Ok, window_);
  box.exec();
}

void QtHost::ErrorBox(const std::string& text) {
  BeforeDialog();
  QMessageBox box(QMessageBox::Critical, BoxTitle(), Text(text), QMessageBox::Ok, window_);
  box.exec();
}

void QtHost::ExploreFolder(const std::string& folder) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(Text(folder)));
}

void QtHost::RunLongWork(const std::string& title, const LongWork& work) {
  BeforeDialog();
  BackgroundWork background(window_);
  std::exception_ptr failure;
  QEventLoop loop;
  background.Start(
      Text(title),
      [&](const WorkControl& control) {
        try {
          work(control);
        } catch (...) {
          failure = std::current_exception();
        }
      },
      [&loop](bool) { loop.quit(); });
  // The window keeps drawing while the work runs; the dialog alone takes the input. When the
  // program quits meanwhile, the loop ends early and `background` stops the work as it goes.
  loop.exec();
  if (failure) std::rethrow_exception(failure);
}

std::string QtHost::Preference(const std::string& key) {
  return Preferences().value(Text(key)).toString().toStdString();
}

void QtHost::SetPreference(const std::string& key, const std::string& value) {
  Preferences().setValue(Text(key), Text(value));
}

}  // namespace pwx
