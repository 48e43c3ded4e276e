#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <cstring>

#include "app/LazyAudioPlayer.h"
#include "app/Mp3_list.h"
#include "app/QtAudioPlayer.h"
#include "app/QtHost.h"
#include "app/QtText.h"
#include "common/EditorError.h"
#include "project/StartFolder.h"

namespace {

// The folder the window works in: the one it was started from, as a terminal starts it, or
// its own folder in the user's documents when the desktop's menu starts it (there the
// current folder is the home folder, which PRJ.cfg, work/ and temp/ would clutter).
std::string ChooseStartFolder(bool fromDesktop) {
  const std::string current = pwx::NativePath(QDir::currentPath());
  if (!fromDesktop) return current;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  try {
    const std::string folder = pwx::PrepareDesktopStartFolder(pwx::NativePath(documents),
                                                              pwx::NativePath(QDir::homePath()));
    // Relative names, should any be used, resolve there too.
    if (QDir::setCurrent(pwx::Text(folder))) return folder;
  } catch (const pwx::EditorError& error) {
    QMessageBox::warning(nullptr, QApplication::applicationName(),
                         pwx::Text(error.what()) + QStringLiteral("\n\nThe editor works in ") +
                             pwx::Text(current) + QLatin1Char('.'));
  }
  return current;
}

}  // namespace

// The window's program, which pwx36-editor (commands/main.cpp) starts in its place when it is
// given no command: with no argument, with --from-desktop, or with a project folder.
int main(int argc, char* argv[]) {
  const bool fromDesktop = argc > 1 && std::strcmp(argv[1], pwx::kFromDesktopOption) == 0;

  // Chosen before the first media object exists; a backend named by the user is kept.
  pwx::QtAudioPlayer::PreferGStreamerBackend();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pwx36-editor"));
  QApplication::setApplicationVersion(QStringLiteral(PWX_VERSION));

  const std::string startFolder = ChooseStartFolder(fromDesktop);
  pwx::QtHost host;
  pwx::LazyAudioPlayer<pwx::QtAudioPlayer> player;
  pwx::TForm1 window(host, player, startFolder);
  host.SetWindow(&window);
  host.SetBeforeDialog([&window] { window.ShowState(); });

  if (const QScreen* screen = window.screen()) {
    const QRect area = screen->availableGeometry();
    window.move(area.center() - window.rect().center());
  }
  window.show();
  return QApplication::exec();
}
