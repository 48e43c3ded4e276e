#include <QApplication>
#include <QDir>
#include <QScreen>

#include "app/CommandLine.h"
#include "app/LazyAudioPlayer.h"
#include "app/Mp3_list.h"
#include "app/QtAudioPlayer.h"
#include "app/QtHost.h"
#include "app/QtText.h"

int main(int argc, char* argv[]) {
  // Any argument is a command for the command line, which needs no display.
  if (argc > 1) return pwx::RunCommandLine(argc, argv);

  // Chosen before the first media object exists; a backend named by the user is kept.
  pwx::QtAudioPlayer::PreferGStreamerBackend();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pwx36-editor"));
  QApplication::setApplicationVersion(QStringLiteral(PWX_VERSION));

  // The start folder is the folder the program was started from.
  const std::string startFolder = pwx::NativePath(QDir::currentPath());
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
