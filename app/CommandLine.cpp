#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>

#include "app/QtText.h"

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
#include "app/ReportPdf.h"
#include "common/InterruptWatch.h"
#include "common/MessageText.h"
#include "delivery/CardCommands.h"
#include "delivery/CheckCommand.h"
#include "delivery/CommissioningReport.h"
#include "delivery/FolderProject.h"
#include "delivery/ImportCommand.h"
#include "delivery/ReportFiles.h"

namespace pwx {

namespace {

constexpr int kWrongArguments = static_cast<int>(CommandExit::CannotRun);

int WrongArguments(const QCommandLineParser& parser, const QString& why) {
  std::cerr << TerminalText(why.toStdString()) << "\n\n" << parser.helpText().toStdString();
  return kWrongArguments;
}

// The exit status of a command that ran; one stopped by a signal ends the process as that
// signal would have, once what it printed is out.
int ExitStatus(CommandExit exit, const InterruptWatch& interrupts) {
  if (exit == CommandExit::Interrupted) {
    std::cout.flush();
    std::cerr.flush();
    interrupts.EndAsInterrupted();
  }
  return static_cast<int>(exit);
}

// Whether the command is "report", the one that lays out text and so needs fonts: the first
// argument that is not an option or an option's value.
bool IsReportCommand(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    const char* word = argv[i];
    if (std::strcmp(word, "-o") == 0 || std::strcmp(word, "--output") == 0 ||
        std::strcmp(word, "--csv") == 0) {
      ++i;
    } else if (word[0] != '-') {
      return std::strcmp(word, "report") == 0;
    }
  }
  return false;
}

// Qt's own notes (a missing runtime folder of the platform that draws off screen, say) are
// not the command's output; its own messages go to the streams directly.
void KeepQtNotesQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::cerr << TerminalText(message.toStdString()) << "\n";
  }
}

// The report lays out its text with the fonts of a GUI application, on the platform that
// draws off screen unless the user names another.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char* argv[]) {
  qInstallMessageHandler(KeepQtNotesQuiet);
  if (!IsReportCommand(argc, argv)) return std::make_unique<QCoreApplication>(argc, argv);
  // The report draws nothing on a screen, so a display (or a stale DISPLAY) is never needed.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  return std::make_unique<QGuiApplication>(argc, argv);
}

struct ReportRequest {
  std::string Folder, StartFolder;
  QString Pdf, Csv;
  const std::atomic<bool>* Cancel = nullptr;  // stops the reading of the clips
};

bool Cancelled(const ReportRequest& request) {
  return request.Cancel && request.Cancel->load();
}

// Makes the report of a saved project folder: the PDF and, when asked, the alarm table as
// CSV. Files that would take the place of the project's own are refused before anything is
// read; "Report written" is said only when every file asked for is whole on the disk.
CommandExit ReportCommand(const ReportRequest& request) {
  std::vector<std::string> outputs{NativePath(request.Pdf)};
  if (!request.Csv.isEmpty()) outputs.push_back(NativePath(request.Csv));
  if (const auto why = RefusalOfReportFiles(outputs, request.Folder, request.StartFolder)) {
    std::cerr << TerminalText(*why) << "\n";
    return CommandExit::CannotRun;
  }
  const auto project = OpenFolderProject(request.Folder, request.StartFolder, std::cerr);
  if (!project) return CommandExit::CannotRun;
  ReportOptions options = ReportOptionsNow();
  options.Work.Cancel = request.Cancel;
  const CommissioningReport report = MakeCommissioningReport(*project, options);
  if (Cancelled(request)) {
    std::cerr << "Interrupted: no report was written.\n";
    return CommandExit::Interrupted;
  }
  if (const auto failure = WriteReportPdf(report, request.Pdf)) {
    std::cerr << TerminalText(failure->toStdString()) << "\n";
    return CommandExit::CannotRun;
  }
  if (!request.Csv.isEmpty()) {
    if (Cancelled(request)) {
      std::cout << "Report written to " << TerminalText(NativePath(request.Pdf)) << "\n";
      std::cerr << "Interrupted: the alarm table was not written.\n";
      return CommandExit::Interrupted;
    }
    if (const auto failure = WriteReportCsv(report, request.Csv)) {
      std::cerr << TerminalText(failure->toStdString()) << "\nThe PDF "
                << TerminalText(outputs.front()) << " was written; the alarm table was not.\n";
      return CommandExit::CannotRun;
    }
  }
  std::cout << "Report written to " << TerminalText(outputs.front()) << "\n";
  return CommandExit::Success;
}

}  // namespace

int RunCommandLine(int argc, char* argv[]) {
  // Ctrl+C, SIGTERM and SIGHUP from here on stop the work at its next safe point.
  const InterruptWatch interrupts;
  const auto app = MakeApplication(argc, argv);
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
      "  compare FOLDER DEST Compares the project in FOLDER with the card DEST, file by file.\n"
      "  report FOLDER -o FILE.pdf [--csv FILE.csv]\n"
      "                      Writes the commissioning report of the project in FOLDER as a\n"
      "                      PDF, and its alarm table as CSV.\n"
      "  import FOLDER NUMBER FILE [--level] [--measure]\n"
      "                      Imports the sound FILE as clip NUMBER (1-64) of the project in\n"
      "                      FOLDER: an MP3 is copied, any other sound converted; --level\n"
      "                      brings it to -16 LUFS, --measure tells its loudness.\n\n"
      "Exit status: 0 no errors, a verified or equal card, a report written; 1 errors found,\n"
      "a copy that failed or a card that differs; 2 a folder that cannot be read, a report\n"
      "that cannot be written or wrong arguments. Ctrl+C, SIGTERM or SIGHUP stop the work\n"
      "at its next safe point (a copy once the file it writes is whole), say what was\n"
      "written, and end the program by that signal (status 130, 143 or 129); a second one\n"
      "ends it at once."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const QCommandLineOption json(QStringLiteral("json"),
                                QStringLiteral("check: prints the findings as a JSON array."));
  const QCommandLineOption deleteStale(
      QStringLiteral("delete-stale"),
      QStringLiteral("deploy: deletes the NNN.mp3 on the card that the project does not use, "
                     "and the files other systems left there (never a folder)."));
  const QCommandLineOption dryRun(QStringLiteral("dry-run"),
                                  QStringLiteral("deploy: prints the plan and writes nothing."));
  const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                  QStringLiteral("report: the PDF to write."),
                                  QStringLiteral("FILE.pdf"));
  const QCommandLineOption csv(QStringLiteral("csv"),
                               QStringLiteral("report: also writes the alarm table as CSV."),
                               QStringLiteral("FILE.csv"));
  const QCommandLineOption level(QStringLiteral("level"),
                                 QStringLiteral("import: levels the clip to -16 LUFS."));
  const QCommandLineOption measure(QStringLiteral("measure"),
                                   QStringLiteral("import: measures the clip's loudness."));
  parser.addOptions({json, deleteStale, dryRun, output, csv, level, measure});
  parser.addPositionalArgument(QStringLiteral("command"),
                               QStringLiteral("check, deploy, compare, report or import."),
                               QStringLiteral("check|deploy|compare|report|import ..."));

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
  const std::string startFolder = NativePath(QDir::currentPath());
  const bool reportOptions = parser.isSet(output) || parser.isSet(csv);
  if (command == QLatin1String("report")) {
    if (words.size() != 2 || !parser.isSet(output)) {
      return WrongArguments(parser,
                            QStringLiteral("report takes a project folder and -o FILE.pdf."));
    }
    if (parser.isSet(json) || parser.isSet(deleteStale) || parser.isSet(dryRun)) {
      return WrongArguments(parser, QStringLiteral("That option is not for report."));
    }
    return ExitStatus(
        ReportCommand({NativePath(QDir(words[1]).absolutePath()), startFolder, parser.value(output),
                       parser.value(csv), &interrupts.Cancel()}),
        interrupts);
  }
  if (command == QLatin1String("import")) {
    bool number = false;
    ImportRequest request;
    if (words.size() == 4) request.Number = words[2].toInt(&number);
    if (!number) {
      return WrongArguments(parser, QStringLiteral("import takes a project folder, a clip number "
                                                   "and a sound file."));
    }
    if (reportOptions || parser.isSet(json) || parser.isSet(deleteStale) || parser.isSet(dryRun)) {
      return WrongArguments(parser, QStringLiteral("That option is not for import."));
    }
    request.Folder = NativePath(words[1]);
    request.File = NativePath(QFileInfo(words[3]).absoluteFilePath());
    request.Level = parser.isSet(level);
    request.Measure = parser.isSet(measure);
    request.StartFolder = startFolder;
    request.Cancel = &interrupts.Cancel();
    return ExitStatus(ImportClipCommand(request, std::cout, std::cerr), interrupts);
  }
  if (parser.isSet(level)) return WrongArguments(parser, QStringLiteral("--level is for import."));
  if (parser.isSet(measure)) {
    return WrongArguments(parser, QStringLiteral("--measure is for import."));
  }
  if (reportOptions) {
    return WrongArguments(parser, QStringLiteral("-o and --csv are for report."));
  }
  if (command == QLatin1String("check")) {
    if (words.size() > 2) {
      return WrongArguments(parser, QStringLiteral("check takes one project folder at most."));
    }
    if (parser.isSet(deleteStale) || parser.isSet(dryRun)) {
      return WrongArguments(parser, QStringLiteral("--delete-stale and --dry-run are for deploy."));
    }
    FolderCheckRequest request;
    request.Folder = words.size() == 2 ? NativePath(words[1]) : "";
    request.StartFolder = startFolder;
    request.Json = parser.isSet(json);
    request.ShowProgress = PWX_ISATTY(PWX_FILENO(stderr)) != 0;
    request.Cancel = &interrupts.Cancel();
    return ExitStatus(CheckFolderCommand(request, std::cout, std::cerr), interrupts);
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
    request.Folder = NativePath(words[1]);
    request.Destination = NativePath(words[2]);
    request.StartFolder = startFolder;
    request.HashStore = FileHashStorePath();
    request.DeleteStale = parser.isSet(deleteStale);
    request.DryRun = parser.isSet(dryRun);
    request.Terminal = PWX_ISATTY(PWX_FILENO(stdout)) != 0;
    request.Cancel = &interrupts.Cancel();
    return ExitStatus(deploy ? DeployCommand(request, std::cout, std::cerr)
                             : CompareCommand(request, std::cout, std::cerr),
                      interrupts);
  }
  return WrongArguments(parser, command.isEmpty() ? QStringLiteral("No command given.")
                                                  : QStringLiteral("Unknown command: ") + command);
}

}  // namespace pwx
