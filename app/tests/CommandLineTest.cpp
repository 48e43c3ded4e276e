// The program run with arguments, as a user runs it: without a display, with its exit status.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Ran {
  int status = -1;
  QString out, err;
};

// Runs the program in `folder` with no display at all.
Ran RunProgram(const QStringList& arguments, const QString& folder) {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    environment.remove(QString::fromLatin1(name));
  }
  program.setProcessEnvironment(environment);
  program.setWorkingDirectory(folder);
  program.start(QStringLiteral(PWX_PROGRAM), arguments);
  if (!program.waitForFinished(60000)) return {};
  return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
          QString::fromUtf8(program.readAllStandardOutput()),
          QString::fromUtf8(program.readAllStandardError())};
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

}  // namespace

class CommandLineTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(folder_.isValid());
    const QString project = folder_.filePath(QStringLiteral("P"));
    QVERIFY(QDir().mkpath(project));
    QVERIFY(QFile::copy(QStringLiteral(PWX_CLIP_FIXTURES "/mpeg1-stereo-cbr.mp3"),
                        project + QStringLiteral("/001.mp3")));
    QByteArray map = "\xEF\xBB\xBF" + QFile::encodeName(project) + "/001.mp3\r\n";
    for (int line = 2; line <= 64; ++line) map += "\r\n";
    Write(project + QStringLiteral("/m3fn.txt"), map);
    QByteArray plist(512, '\0');
    plist.replace(0, 4, "\x5A\x35\x77\xA5");
    for (int slot = 0; slot < 64; ++slot) plist[96 + slot] = 1;
    for (int slot = 0; slot < 32; ++slot) plist[32 + slot] = 1;
    plist[256] = 1;  // DI1 plays clip 001
    plist[260] = 9;  // DI2 plays clip 009, which is not in the library
    Write(project + QStringLiteral("/plist.cfg"), plist);
    QVERIFY(QDir().mkpath(folder_.filePath(QStringLiteral("card"))));
  }

  void exitStatusAndOutput_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("outStarts");
    QTest::addColumn<QString>("errStarts");
    const QString project = folder_.filePath(QStringLiteral("P"));
    const auto row = [](const char* name, const QStringList& arguments, int status,
                        const QString& outStarts, const QString& errStarts) {
      QTest::newRow(name) << arguments << status << outStarts << errStarts;
    };
    row("version", {"--version"}, 0, "pwx36-editor 1.0.0\n", "");
    // The usage line names the program, not the path it was started by.
    row("help", {"--help"}, 0, "Usage: pwx36-editor [--from-desktop] [FOLDER]\n", "");
    row("help of a command", {"deploy", "--help"}, 0,
        "Usage: pwx36-editor deploy [OPTIONS] FOLDER DEST\n", "");
    row("help command", {"help", "report"}, 0, "Usage: pwx36-editor report -o FILE ", "");
    row("help of every command", {"--help-all"}, 0,
        "Usage: pwx36-editor [--from-desktop] [FOLDER]\n", "");
    const auto see = [](const char* command) {
      return QStringLiteral("; see 'pwx36-editor %1 --help'\n").arg(QLatin1String(command));
    };
    row("unknown command", {"chek"}, 2, "",
        "pwx36-editor: unknown command 'chek'; see 'pwx36-editor --help'\n");
    row("unknown option", {"check", "--jsno"}, 2, "",
        "pwx36-editor: unknown option '--jsno' for check" + see("check"));
    row("two folders", {"check", project, project}, 2, "",
        "pwx36-editor: unexpected argument '" + project + "' for check" + see("check"));
    row("no such folder", {"check", project + "x"}, 2, "", "Project folder not found: ");
    // Progress goes to stderr, a line a step when that is no terminal; -q leaves it out.
    row("errors found", {"check", project}, 1, "error: DI2 #1, clip 009: DI2 #1 names clip 009",
        "Decoding the clips: 1 of 1\n");
    row("quiet", {"check", "-q", project}, 1, "error: DI2 #1, clip 009: DI2 #1 names clip 009", "");
    row("json", {"check", "--json", "--quiet", project}, 1,
        "[\n  {\n    \"severity\": \"error\",\n    \"code\": \"slot-clip-free\",\n    "
        "\"clip\": 9,\n    \"input\": \"DI2\",\n    \"file\": null,\n",
        "");
    row("start folder", {"check"}, 2, "", "Not a project folder: ");
    // The project was never saved: it lacks the files a save writes.
    row("deploy unsaved", {"deploy", project, folder_.filePath("card"), "--dry-run"}, 1,
        "Project: ", "The project folder lacks Err1.mp3, vol.cfg, rtu.cfg; save the project");
    row("deploy into the project", {"deploy", project, project + "/"}, 2, "",
        "The destination is the project folder itself");
    row("compare without a card", {"compare", project}, 2, "",
        "pwx36-editor: missing DEST for compare" + see("compare"));
    row("option of another command", {"compare", project, project, "--dry-run"}, 2, "",
        "pwx36-editor: unknown option '--dry-run' for compare" + see("compare"));
    row("report without a file", {"report", project}, 2, "",
        "pwx36-editor: missing -o FILE for report" + see("report"));
    row("report with the option first", {"--output", folder_.filePath("o.pdf"), "report", project},
        0, "Report written to ", "Reading the clips: 1 of 1\n");
    row("report of no project", {"report", project + "x", "-o", "r.pdf"}, 2, "",
        "Project folder not found: ");
    row("report into no folder", {"report", "-q", project, "-o", folder_.filePath("none/r.pdf")}, 2,
        "", "Cannot create file ");
    row("import without a file", {"import", project, "3"}, 2, "",
        "pwx36-editor: missing FILE for import" + see("import"));
    row("import into clip 65", {"import", project, "65", "a.wav"}, 2, "",
        "The clip number must be from 1 to 64.");
    row("level for check", {"check", project, "--level"}, 2, "",
        "pwx36-editor: unknown option '--level' for check" + see("check"));
    row("measure for check", {"check", project, "--measure"}, 2, "",
        "pwx36-editor: unknown option '--measure' for check" + see("check"));
    row("report option for check", {"check", project, "--csv", "t.csv"}, 2, "",
        "pwx36-editor: unknown option '--csv' for check" + see("check"));
  }

  void exitStatusAndOutput() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, outStarts);
    QFETCH(QString, errStarts);
    const Ran ran = RunProgram(arguments, folder_.path());
    QCOMPARE(ran.status, status);
    // An empty expectation means nothing at all is printed there.
    const auto starts = [](const QString& text, const QString& start) {
      return start.isEmpty() ? text.isEmpty() : text.startsWith(start);
    };
    QVERIFY2(starts(ran.out, outStarts), qPrintable(ran.out));
    QVERIFY2(starts(ran.err, errStarts), qPrintable(ran.err));
  }

  void textEndsWithTheSummary() {
    const Ran ran =
        RunProgram({QStringLiteral("check"), folder_.filePath(QStringLiteral("P"))}, "/");
    QVERIFY2(ran.out.endsWith(QStringLiteral("\nCheck: 1 error, 1 warning\n")),
             qPrintable(ran.out));
  }

  // Started from the desktop's menu, the window works in a folder of its own in the documents
  // folder that user-dirs.dirs names; started from a terminal, in the terminal's folder.
  void windowStartsInItsStartFolder_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("startFolder");  // in the home folder
    QTest::newRow("desktop menu") << QStringList{"--from-desktop"} << "Dokumente/PWX36 Projects";
    QTest::newRow("terminal") << QStringList{} << ".";
  }

  void windowStartsInItsStartFolder() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, startFolder);
    QTemporaryDir home;
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral(".config")));
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("Dokumente")));
    Write(home.filePath(QStringLiteral(".config/user-dirs.dirs")),
          "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    QProcess window;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    window.setProcessEnvironment(environment);
    window.setWorkingDirectory(home.path());
    window.start(QStringLiteral(PWX_PROGRAM), arguments);
    const QDir start(home.filePath(startFolder));
    // The start-up has run once the temp folder is there.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(start.filePath(QStringLiteral("temp"))).isDir(), 60000);
    window.kill();
    window.waitForFinished();
    QVERIFY(QFileInfo(start.filePath(QStringLiteral("work"))).isDir());
    if (startFolder != QLatin1String(".")) {
      const QStringList inHome =
          QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
      QCOMPARE(inHome, QStringList{QStringLiteral("Dokumente")});
    }
  }

  // The report's path is shown escaped: a name never reaches the terminal as a command.
  void reportNamesAPathEscaped() {
    const QString pdf = folder_.filePath(QString::fromUtf8("clear\x1b[2J.pdf"));
    const Ran ran =
        RunProgram({"report", folder_.filePath(QStringLiteral("P")), "-o", pdf}, folder_.path());
    QCOMPARE(ran.status, 0);
    QVERIFY2(ran.out.endsWith(QStringLiteral("clear\\x1b[2J.pdf\n")), qPrintable(ran.out));
    QVERIFY(!ran.out.contains(QChar(0x1B)));
  }

  // The report of a project whose clip 002 has lost its copy: the PDF's text holds the
  // settings, the alarm table, the copy's SHA-256 and the missing copy; the CSV the table.
  void reportOfAProject() {
    const QString project = folder_.filePath(QStringLiteral("R"));
    QVERIFY(QDir().mkpath(project));
    const QString copy = project + QStringLiteral("/001.mp3");
    QVERIFY(QFile::copy(folder_.filePath(QStringLiteral("P/001.mp3")), copy));
    QByteArray map =
        "\xEF\xBB\xBF"
        "C:\\voice\\Evacuate now.mp3\r\nC:\\voice\\All clear.mp3\r\n";
    for (int line = 3; line <= 64; ++line) map += "\r\n";
    Write(project + QStringLiteral("/m3fn.txt"), map);
    Write(project + QStringLiteral("/rtu.cfg"), "17,19200,E,8,1");
    QVERIFY(QFile::copy(folder_.filePath(QStringLiteral("P/plist.cfg")), project + "/plist.cfg"));

    const QString pdf = folder_.filePath(QStringLiteral("R report.pdf"));
    const QString csv = folder_.filePath(QStringLiteral("R.csv"));
    const Ran ran = RunProgram({"report", "-q", project, "-o", pdf, "--csv", csv}, folder_.path());
    QCOMPARE(ran.status, 0);
    QVERIFY2(ran.err.isEmpty(), qPrintable(ran.err));

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(30000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    QFile clip(copy);
    QVERIFY(clip.open(QIODevice::ReadOnly));
    const QString sha =
        QCryptographicHash::hash(clip.readAll(), QCryptographicHash::Sha256).toHex();
    for (const QString& expected :
         {QStringLiteral("Commissioning report"), QStringLiteral("17,19200,E,8,1"),
          QStringLiteral("001 Evacuate now"), QStringLiteral("Source: C:\\voice\\Evacuate now.mp3"),
          sha, QStringLiteral("Copy 002.mp3 missing"), QStringLiteral("Commissioned by")}) {
      QVERIFY2(page.contains(expected), qPrintable(expected + " not in:\n" + page));
    }
    QVERIFY(!page.contains(QStringLiteral("unsaved")));

    QFile table(csv);
    QVERIFY(table.open(QIODevice::ReadOnly));
    QCOMPARE(table.readLine(),
             "Input,Clips,Repeat,Alarm Output,Seconds per trigger,First sound "
             "(s),Total (s),Segment starts (s),Test result,Tested at,Note\r\n");
    QCOMPARE(table.readLine(), "DI1,001 Evacuate now,1,no,1.0,0.0,1.0,0.0,not tested,,\r\n");
  }

  // A script prepares a project: a WAV goes in levelled, a file that is no sound is refused
  // and leaves nothing, and the project then checks without errors.
  void importConvertsIntoAProjectFolder() {
    const QString project = folder_.filePath(QStringLiteral("I"));
    QVERIFY(QDir().mkpath(project));
    Ran ran = RunProgram({"import", project, "1", PWX_INTAKE_FIXTURES "/speech.wav", "--level"},
                         folder_.path());
    QCOMPARE(ran.status, 0);
    QVERIFY2(ran.out.startsWith("Imported ") && ran.out.contains(": levelled to -1"),
             qPrintable(ran.out));
    // An MP3 is copied, and its loudness told only when asked for.
    ran = RunProgram({"import", project, "3", PWX_INTAKE_FIXTURES "/quiet-24k.mp3", "--measure"},
                     folder_.path());
    QCOMPARE(ran.status, 0);
    QVERIFY2(ran.out.contains(": copied, 0:03.0, 24000 Hz, mono, -3"), qPrintable(ran.out));
    ran = RunProgram({"import", project, "2", PWX_INTAKE_FIXTURES "/text.wav"}, folder_.path());
    QCOMPARE(ran.status, 1);
    QVERIFY2(ran.err.contains("is not an audio file"), qPrintable(ran.err));
    QVERIFY(!QFile::exists(project + "/002.mp3"));
    ran = RunProgram({"check", project}, folder_.path());
    QVERIFY2(ran.status == 0 && ran.out.contains("DI1 has no clip"), qPrintable(ran.out));
  }

 private:
  QTemporaryDir folder_;
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
