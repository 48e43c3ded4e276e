#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#define PWX_ISATTY _isatty
#define PWX_FILENO _fileno
#else
#include <unistd.h>
#define PWX_ISATTY isatty
#define PWX_FILENO fileno
#endif

#include "delivery/CheckCommand.h"

namespace pwx {

namespace {

constexpr int kWrongArguments = static_cast<int>(CheckExit::CannotCheck);

int WrongArguments(const QCommandLineParser& parser, const QString& why) {
  std::cerr << why.toStdString() << "\n\n" << parser.helpText().toStdString();
  return kWrongArguments;
}

}  // namespace

int RunCommandLine(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("pwx36-editor"));
  QCoreApplication::setApplicationVersion(QStringLiteral(PWX_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Edits the project folder of a PWX36 audio alarm player. Without arguments it opens the "
      "window.\n\n"
      "Commands:\n"
      "  check [FOLDER]  Checks that the project in FOLDER will play on the player: decodes\n"
      "                  every clip and cross-checks clips, inputs and settings. Without\n"
      "                  FOLDER it checks the project the window opens at start-up.\n"
      "                  Exit status: 0 no errors, 1 errors found, 2 the folder cannot be\n"
      "                  read or the arguments are wrong."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const QCommandLineOption json(QStringLiteral("json"),
                                QStringLiteral("check: prints the findings as a JSON array."));
  parser.addOption(json);
  parser.addPositionalArgument(QStringLiteral("command"),
                               QStringLiteral("The command to run: check."),
                               QStringLiteral("check [FOLDER]"));

  if (!parser.parse(QCoreApplication::arguments())) {
    return WrongArguments(parser, parser.errorText());
  }
  if (parser.isSet(help)) {
    std::cout << parser.helpText().toStdString();
    return 0;
  }
  if (parser.isSet(version)) {
    std::cout << "pwx36-editor " << PWX_VERSION << "\n";
    return 0;
  }
  const QStringList words = parser.positionalArguments();
  if (words.isEmpty() || words.first() != QLatin1String("check")) {
    return WrongArguments(parser, words.isEmpty()
                                      ? QStringLiteral("No command given.")
                                      : QStringLiteral("Unknown command: ") + words.first());
  }
  if (words.size() > 2) {
    return WrongArguments(parser, QStringLiteral("check takes one project folder at most."));
  }
  FolderCheckRequest request;
  request.Folder = words.size() == 2 ? QDir::toNativeSeparators(words[1]).toStdString() : "";
  request.StartFolder = QDir::toNativeSeparators(QDir::currentPath()).toStdString();
  request.Json = parser.isSet(json);
  request.ShowProgress = PWX_ISATTY(PWX_FILENO(stderr)) != 0;
  return static_cast<int>(CheckFolderCommand(request, std::cout, std::cerr));
}

}  // namespace pwx
