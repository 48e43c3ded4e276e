// Cold-start probe: does what the program does up to its first painted, started-up window,
// then exits. With --empty it shows a bare QMainWindow of the same size instead, the
// baseline that every Qt program pays.

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QTimer>
#include <cstring>

#include "app/LazyAudioPlayer.h"
#include "app/Mp3_list.h"
#include "app/QtAudioPlayer.h"
#include "app/QtHost.h"

int main(int argc, char* argv[]) {
  const bool empty = argc > 1 && std::strcmp(argv[1], "--empty") == 0;
  if (!empty) pwx::QtAudioPlayer::PreferGStreamerBackend();
  QApplication app(argc, argv);

  if (empty) {
    QMainWindow window;
    window.resize(pwx::kClientWidth, pwx::kClientHeight);
    window.show();
    QTimer::singleShot(0, &window, [&window] {
      window.grab();
      QApplication::quit();
    });
    return QApplication::exec();
  }

  const std::string startFolder = QDir::toNativeSeparators(QDir::currentPath()).toStdString();
  pwx::QtHost host;
  pwx::LazyAudioPlayer<pwx::QtAudioPlayer> player;
  pwx::TForm1 window(host, player, startFolder);
  host.SetWindow(&window);
  window.show();
  QTimer::singleShot(0, &window, [&window] {
    window.FormActivate();
    window.grab();
    QApplication::quit();
  });
  return QApplication::exec();
}
