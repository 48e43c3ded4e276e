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

#include "app/CardDialogs.h"
#include "delivery/CardCommands.h"
#include "delivery/CheckCommand.h"

namespace pwx {

namespace {

constexpr int kWrongArguments = static_cast<int>(CommandExit::CannotRun);

int WrongArguments(const QCommandLineParser& parser, const QString& why) {
  std::cerr << why.toStdString() << "\n\n" << parser.helpText().toStdString();
  return kWrongArguments;
}

}  // namespace

std::string Native(const QString& path) {
  return QDir::toNativeSeparators(path).toStdString();
}

int RunCommandLine(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("pwx36-editor"));
  QCoreApplication::setApplicationVersion(QStringLiteral(PWX_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Edits the project folder of a PWX36 audio alarm player. Without arguments it opens the "
      "window.\n\n"
      "Commands:\n"
      "  check [FOLDER]      Checks that the project in FOLDER will play on the player:\n"
      "                      decodes every clip and cross-checks clips, inputs and\n"
      "                      settings. Without FOLDER it checks the project the window\n"
      "                      opens at start-up.\n"
      "  deploy FOLDER DEST  Copies the player's files of the project in FOLDER to the card\n"
      "                      (or folder) DEST, skipping those already there, and reads\n"
      "                      every file written back to verify it.\n"
      "  compare FOLDER DEST Compares the project in FOLDER with the card DEST, file by file.\n\n"
      "Exit status: 0 no errors, a verified or equal card; 1 errors found, a copy that\n"
      "failed or a card that differs; 2 a folder that cannot be read or wrong arguments."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const QCommandLineOption json(QStringLiteral("json"),
                                QStringLiteral("check: prints the findings as a JSON array."));
  const QCommandLineOption deleteStale(
      QStringLiteral("delete-stale"),
      QStringLiteral("deploy: deletes the NNN.mp3 on the card that the project does not use."));
  const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                  QStringLiteral("deploy: prints the plan and writes nothing."));
  parser.addOptions({json, deleteStale, dryRun});
  parser.addPositionalArgument(QStringLiteral("command"),
                               QStringLiteral("check, deploy or compare."),
                               QStringLiteral("check|deploy|compare ..."));

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
  const QString command = words.isEmpty() ? QString() : words.first();
  const std::string startFolder = Native(QDir::currentPath());
  if (command == QLatin1String("check")) {
    if (words.size() > 2) {
      return WrongArguments(parser, QStringLiteral("check takes one project folder at most."));
    }
    if (parser.isSet(deleteStale) || parser.isSet(dryRun)) {
      return WrongArguments(parser, QStringLiteral("--delete-stale and --dry-run are for deploy."));
    }
    FolderCheckRequest request;
    request.Folder = words.size() == 2 ? Native(words[1]) : "";
    request.StartFolder = startFolder;
    request.Json = parser.isSet(json);
    request.ShowProgress = PWX_ISATTY(PWX_FILENO(stderr)) != 0;
    return static_cast<int>(CheckFolderCommand(request, std::cout, std::cerr));
  }
  if (command == QLatin1String("deploy") || command == QLatin1String("compare")) {
    const bool deploy = command == QLatin1String("deploy");
    if (words.size() != 3) {
      return WrongArguments(parser, command + QStringLiteral(" takes a project folder and a "
                                                             "destination folder."));
    }
    if (parser.isSet(json) || (!deploy && (parser.isSet(deleteStale) || parser.isSet(dryRun)))) {
      return WrongArguments(parser,
                            QStringLiteral("That option is not for ") + command + QLatin1Char('.'));
    }
    CardCommandRequest request;
    request.Folder = Native(words[1]);
    request.Destination = Native(words[2]);
    request.StartFolder = startFolder;
    request.HashStore = FileHashStorePath();
    request.DeleteStale = parser.isSet(deleteStale);
    request.DryRun = parser.isSet(dryRun);
    request.Terminal = PWX_ISATTY(PWX_FILENO(stdout)) != 0;
    return static_cast<int>(deploy ? DeployCommand(request, std::cout, std::cerr)
                                   : CompareCommand(request, std::cout, std::cerr));
  }
  return WrongArguments(parser, command.isEmpty() ? QStringLiteral("No command given.")
                                                  : QStringLiteral("Unknown command: ") + command);
}

}  // namespace pwx
