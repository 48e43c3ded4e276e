// pwx36-editor-pdf TITLE CREATOR: reads a report's HTML page on standard input and writes it
// laid out as a PDF on standard output. The report command runs it, so that the program that
// runs commands needs no library of a window; that command decides where the PDF goes and
// writes it whole.
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <iostream>

#include "app/ReportPdf.h"

namespace {

// Qt's own notes (a missing runtime folder of the platform that draws off screen, say) are
// not the renderer's output; what goes wrong badly is said on standard error.
void KeepQtNotesQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << "\n";
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::cerr << "usage: pwx36-editor-pdf TITLE CREATOR <page.html >page.pdf\n";
    return 2;
  }
  qInstallMessageHandler(KeepQtNotesQuiet);
  // The page is laid out with the fonts of a GUI application and drawn on no screen, so a
  // display (or a stale DISPLAY) is never needed.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QFile input;
  if (!input.open(stdin, QIODevice::ReadOnly)) {
    std::cerr << "The page cannot be read from standard input.\n";
    return 1;
  }
  const QString html = QString::fromUtf8(input.readAll());
  const QByteArray pdf =
      pwx::PdfOfHtml(html, QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
  if (pdf.isEmpty()) {
    std::cerr << "The PDF could not be laid out.\n";
    return 1;
  }
  QFile output;
  if (!output.open(stdout, QIODevice::WriteOnly) || output.write(pdf) != pdf.size() ||
      !output.flush()) {
    std::cerr << "The PDF cannot be written to standard output.\n";
    return 1;
  }
  return 0;
}
