#include "app/AboutBox.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QUrl>
#include <utility>

namespace pwx {

namespace {

struct UsedLibrary {
  const char* Name;
  const char* Use;
  const char* Licence;
};

constexpr UsedLibrary kLibraries[] = {
    {"Qt 6", "window, dialogs, playback", "LGPL-3.0"},
    {"libmpg123", "MP3 decoding", "LGPL-2.1"},
    {"libsndfile", "reading WAV, FLAC and Ogg sources", "LGPL-2.1"},
    {"libsoxr", "sample-rate conversion", "LGPL-2.1"},
    {"libebur128", "loudness measuring", "MIT"},
    {"LAME", "MP3 encoding", "LGPL-2.0"},
    {"OpenSSL", "SHA-256 of the copies", "Apache-2.0"},
};

// The README as installed beside the program, or the home page's copy.
QString ReadmeAddress() {
  const QString installed = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                   QStringLiteral("doc/pwx36-editor/README.md"));
  if (!installed.isEmpty()) return QUrl::fromLocalFile(installed).toString();
  return QStringLiteral("https://pwx36.example.org/README.md");
}

}  // namespace

QString AboutText(const QString& version) {
  QString text = QStringLiteral("<h3>%1 %2</h3>").arg(QLatin1String(kDisplayName), version);
  text += QStringLiteral(
      "<p>Edits the project folder of a PWX36 audio alarm player: its clips, play list, volume "
      "and Modbus RTU settings. The program is under the MIT licence.</p><p>It uses:</p><ul>");
  for (const UsedLibrary& library : kLibraries) {
    text += QStringLiteral("<li>%1 (%2): %3</li>")
                .arg(QLatin1String(library.Name), QLatin1String(library.Use),
                     QLatin1String(library.Licence));
  }
  const QString readme = ReadmeAddress();
  text += QStringLiteral("</ul><p>The README tells more: ");
  const std::pair<const char*, const char*> sections[] = {
      {"working-in-the-window", "Working in the window"},
      {"importing-any-sound-at-one-loudness", "Importing any sound"},
      {"checking-a-project-before-it-goes-onto-a-player", "Checking a project"},
      {"copying-a-project-onto-the-players-card", "Copying onto the card"},
  };
  bool first = true;
  for (const auto& [anchor, title] : sections) {
    if (!first) text += QStringLiteral(", ");
    first = false;
    text += QStringLiteral("<a href=\"%1#%2\">%3</a>")
                .arg(readme, QLatin1String(anchor), QLatin1String(title));
  }
  text += QStringLiteral(".</p>");
  return text;
}

void ShowAbout(QWidget* parent) {
  QMessageBox box(parent);
  box.setWindowTitle(QStringLiteral("About ") + QLatin1String(kDisplayName));
  box.setTextFormat(Qt::RichText);
  box.setText(AboutText(QCoreApplication::applicationVersion()));
  box.setTextInteractionFlags(Qt::TextBrowserInteraction);
  box.setIconPixmap(box.windowIcon().pixmap(64, 64));
  box.exec();
}

}  // namespace pwx
