#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/AboutBox.h"
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
    QMessageBox::warning(nullptr, QLatin1String(pwx::kDisplayName),
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
  // A project folder (or its plist.cfg), as a file manager passes it, opens the window on it;
  // pwx36-editor runs every other argument as a command and never starts this program for it.
  const std::vector<std::string> arguments(argv + (fromDesktop ? 2 : 1), argv + argc);
  const std::optional<std::string> projectToOpen = pwx::ProjectFolderArgument(arguments);
  if (!arguments.empty() && !projectToOpen) {
    std::fprintf(stderr, "pwx36-editor-window: not a project folder: %s\n", arguments.front().c_str());
    return 2;
  }

  // Chosen before the first media object exists; a backend named by the user is kept.
  pwx::QtAudioPlayer::PreferGStreamerBackend();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pwx36-editor"));
  QApplication::setApplicationVersion(QStringLiteral(PWX_VERSION));
  // The desktop matches the window to its entry and shows the entry's name; a display name
  // set here would be appended to every window title.
  QGuiApplication::setDesktopFileName(QLatin1String(pwx::kDesktopFileName));
  QIcon icon;
  for (const char* size : {"48", "128", "256"}) {
    icon.addFile(QStringLiteral(":/icons/") + QLatin1String(size) + QStringLiteral(".png"));
  }
  QApplication::setWindowIcon(icon);

  // A relative folder is the terminal's, before the desktop's start folder becomes current.
  const std::string project =
      projectToOpen ? pwx::NativePath(QFileInfo(pwx::Text(*projectToOpen)).absoluteFilePath())
                    : std::string();
  const std::string startFolder = ChooseStartFolder(fromDesktop);
  pwx::QtHost host;
  pwx::LazyAudioPlayer<pwx::QtAudioPlayer> player;
  pwx::TForm1 window(host, player, startFolder);
  if (!project.empty()) window.editor().SetProjectToOpen(project);
  host.SetWindow(&window);
  host.SetBeforeDialog([&window] { window.ShowState(); });

  if (const QScreen* screen = window.screen()) {
    const QRect area = screen->availableGeometry();
    window.move(area.center() - window.rect().center());
  }
  window.show();
  return QApplication::exec();
}
