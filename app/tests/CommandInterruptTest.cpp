// The program stopped by a signal in the middle of its work, as a user or a service manager
// stops it: it says what it left, ends as the signal ends a program, and leaves no temporary
// file behind, neither in the project folder nor on the card.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <csignal>
#include <functional>

#include "app/tests/ToneWave.h"

namespace {

constexpr int kClips = 24;

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

// A saved project of 24 clips of about 2 MB each (two minutes of sound): long enough to copy
// or decode that a signal finds the work under way.
void WriteBigProject(const QString& folder) {
  QVERIFY(QDir().mkpath(folder));
  QFile fixture(QStringLiteral(PWX_CLIP_FIXTURES "/mpeg1-stereo-cbr.mp3"));
  QVERIFY(fixture.open(QIODevice::ReadOnly));
  const QByteArray frames = fixture.readAll();
  const QByteArray clip = frames.repeated(2 * 1024 * 1024 / static_cast<int>(frames.size()));
  QByteArray map = "\xEF\xBB\xBF";
  for (int n = 1; n <= 64; ++n) {
    if (n <= kClips) {
      const QString name = QStringLiteral("%1.mp3").arg(n, 3, 10, QLatin1Char('0'));
      Write(folder + QLatin1Char('/') + name, clip);
      map += "/sounds/Clip " + QByteArray::number(n) + ".mp3";
    }
    map += "\r\n";
  }
  Write(folder + QStringLiteral("/m3fn.txt"), map);
  QByteArray plist(512, '\0');
  plist.replace(0, 4, "\x5A\x35\x77\xA5");
  for (int slot = 0; slot < 64; ++slot) plist[96 + slot] = 1;
  for (int slot = 0; slot < 32; ++slot) plist[32 + slot] = 1;
  for (int slot = 0; slot < 4; ++slot) plist[256 + 4 * slot] = static_cast<char>(slot + 1);
  Write(folder + QStringLiteral("/plist.cfg"), plist);
  Write(folder + QStringLiteral("/vol.cfg"), "5");
  Write(folder + QStringLiteral("/rtu.cfg"), "1,9600,N,8,1");
  QVERIFY(QFile::copy(QStringLiteral(PWX_ERR1_MP3), folder + QStringLiteral("/Err1.mp3")));
}

// Whether the process holds a file of `folder` open: it is reading or writing there.
bool HoldsFileIn(qint64 pid, const QString& folder) {
  const QDir descriptors(QStringLiteral("/proc/%1/fd").arg(pid));
  for (const QFileInfo& entry : descriptors.entryInfoList(QDir::System | QDir::Files)) {
    if (entry.symLinkTarget().startsWith(folder + QLatin1Char('/'))) return true;
  }
  return false;
}

bool HoldsTemporary(const QString& folder) {
  return !QDir(folder)
              .entryList({QStringLiteral("*.saving")}, QDir::Files | QDir::Hidden)
              .isEmpty();
}

struct Stopped {
  bool byTheSignal = false;  // ended as the signal ends a program: the shell shows 128 + it
  QString out, err;
};

// Starts the program in `folder`, waits until `underWay` says its work is under way, sends
// `signal` (`times` times, 50 ms apart) and waits for its end.
Stopped RunAndStop(const QStringList& arguments, const QString& folder, int signal, int times,
                   const std::function<bool(qint64 pid, const QByteArray& out)>& underWay) {
  QProcess program;
  program.setWorkingDirectory(folder);
  program.start(QStringLiteral(PWX_PROGRAM), arguments);
  if (!program.waitForStarted(10000)) return {};
  QByteArray out;
  QElapsedTimer waited;
  waited.start();
  while (program.state() == QProcess::Running && !underWay(program.processId(), out)) {
    if (waited.elapsed() > 60000) return {};
    program.waitForReadyRead(2);
    out += program.readAllStandardOutput();
  }
  if (program.state() != QProcess::Running) {
    program.waitForFinished();
    return {false, QString::fromUtf8(out + program.readAllStandardOutput()),
            QStringLiteral("ended before its work was seen under way: ") +
                QString::fromUtf8(program.readAllStandardError())};
  }
  for (int i = 0; i < times && program.state() == QProcess::Running; ++i) {
    if (i > 0) QThread::msleep(50);
    ::kill(static_cast<pid_t>(program.processId()), signal);
  }
  if (!program.waitForFinished(60000)) return {};
  out += program.readAllStandardOutput();
  const bool bySignal = program.exitStatus() == QProcess::CrashExit && program.exitCode() == signal;
  return {bySignal, QString::fromUtf8(out), QString::fromUtf8(program.readAllStandardError())};
}

}  // namespace

class CommandInterruptTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (!QDir(QStringLiteral("/proc/self/fd")).exists()) QSKIP("skipped: no /proc to watch");
    QVERIFY(folder_.isValid());
    WriteBigProject(folder_.filePath(QStringLiteral("P")));
    Write(folder_.filePath(QStringLiteral("long.wav")), pwx::apptest::ToneWave(240));
  }

  void stopsAtTheNextWholeFile_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("times");
    QTest::addColumn<QString>("waitFor");  // a line on stdout, else a file held in this folder
    QTest::addColumn<QString>("errEnds");
    QTest::addColumn<QString>("outHas");
    const QString project = folder_.filePath(QStringLiteral("P"));
    const QString copied = QStringLiteral("Written whole: 001.mp3, 002.mp3");
    const QString card =
        QStringLiteral("files written whole; the card's other files are as they were.\n");
    for (const auto& [name, signal] :
         {std::pair{"SIGINT", SIGINT}, {"SIGTERM", SIGTERM}, {"SIGHUP", SIGHUP}}) {
      QTest::addRow("deploy, %s", name) << QStringList{"deploy", project, "card"} << signal << 1
                                        << "Writing 003.mp3" << card << copied;
    }
    QTest::newRow("deploy, Ctrl+C twice")
        << QStringList{"deploy", project, "card"} << SIGINT << 2 << "Writing 003.mp3"
        << ""
        << "";
    QTest::newRow("compare, SIGTERM")
        << QStringList{"compare", project, "card"} << SIGTERM << 1 << project
        << "Interrupted while comparing the project with the card; nothing was written.\n"
        << "";
    QTest::newRow("check, SIGINT")
        << QStringList{"check", project} << SIGINT << 1 << project
        << "Interrupted: the check stopped before its end and reports nothing.\n"
        << "";
    QTest::newRow("check --json, SIGHUP")
        << QStringList{"check", "--json", project} << SIGHUP << 1 << project
        << "Interrupted: the check stopped before its end and reports nothing.\n"
        << "";
    QTest::newRow("report, SIGINT")
        << QStringList{"report", project, "-o", "report.pdf", "--csv", "table.csv"} << SIGINT << 1
        << project << "Interrupted: no report was written.\n"
        << "";
    QTest::newRow("import, SIGINT")
        << QStringList{"import", "I", "1", "long.wav"} << SIGINT << 1 << folder_.filePath("I")
        << "Interrupted: clip 001 was not imported; the project folder is as it was.\n"
        << "";
    QTest::newRow("import, SIGTERM")
        << QStringList{"import", "I", "1", "long.wav", "--level"} << SIGTERM << 1
        << folder_.filePath("I")
        << "Interrupted: clip 001 was not imported; the project folder is as it was.\n"
        << "";
  }

  void stopsAtTheNextWholeFile() {
    QFETCH(QStringList, arguments);
    QFETCH(int, signal);
    QFETCH(int, times);
    QFETCH(QString, waitFor);
    QFETCH(QString, errEnds);
    QFETCH(QString, outHas);
    const QString project = folder_.filePath(QStringLiteral("P"));
    const QString card = folder_.filePath(QStringLiteral("card"));
    const QString imports = folder_.filePath(QStringLiteral("I"));
    for (const QString& fresh : {card, imports}) {
      QVERIFY(QDir(fresh).removeRecursively());
      QVERIFY(QDir().mkpath(fresh));
    }
    // A compare against an empty card has little to read and may end before the signal comes;
    // against a card that holds the whole project it reads every copy on both sides.
    if (arguments.first() == QLatin1String("compare")) {
      for (const QString& name : QDir(project).entryList(QDir::Files))
        QVERIFY(QFile::copy(project + QLatin1Char('/') + name, card + QLatin1Char('/') + name));
    }
    const bool onStdout = !waitFor.startsWith(QLatin1Char('/'));
    const Stopped stopped = RunAndStop(
        arguments, folder_.path(), signal, times, [&](qint64 pid, const QByteArray& out) {
          return onStdout ? out.contains(waitFor.toUtf8()) : HoldsFileIn(pid, waitFor);
        });
    QVERIFY2(stopped.byTheSignal, qPrintable(stopped.out + stopped.err));
    // Ended at once by a second signal, it may say nothing.
    QVERIFY2(errEnds.isEmpty() || stopped.err.endsWith(errEnds), qPrintable(stopped.err));
    QVERIFY2(stopped.out.contains(outHas), qPrintable(stopped.out));
    // A stopped check or report prints no result; a stopped copy names what it wrote whole.
    if (arguments.first() != QLatin1String("deploy")) QCOMPARE(stopped.out, QString());
    QVERIFY(!stopped.out.contains(QLatin1String("verified")));
    for (const QString& folder : {project, card, imports})
      QVERIFY2(!HoldsTemporary(folder), qPrintable(folder));
    QVERIFY(QDir(imports).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    QVERIFY(!QFile::exists(folder_.filePath(QStringLiteral("report.pdf"))));
    QVERIFY(!QFile::exists(folder_.filePath(QStringLiteral("table.csv"))));
  }

 private:
  QTemporaryDir folder_;
};

QTEST_GUILESS_MAIN(CommandInterruptTest)
#include "CommandInterruptTest.moc"
