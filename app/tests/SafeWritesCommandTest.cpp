// What the commands write, run as a user runs them: a report is whole or not there and never
// takes the place of a project file, and commands that change one project folder at once
// lose nothing of each other's.
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Ran {
  int status = -1;
  QString out, err;
};

// Starts the program in `folder` with no display at all; `limitKiB` lets it write no file
// longer than that.
void StartProgram(QProcess& program, const QStringList& arguments, const QString& folder,
                  int limitKiB = 0) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    environment.remove(QString::fromLatin1(name));
  }
  program.setProcessEnvironment(environment);
  program.setWorkingDirectory(folder);
  if (limitKiB == 0) {
    program.start(QStringLiteral(PWX_PROGRAM), arguments);
    return;
  }
  // The shell ignores the signal of a file grown too long, so the write fails as on a full
  // disk, and the program inherits both.
  program.start(
      QStringLiteral("/bin/sh"),
      QStringList{QStringLiteral("-c"),
                  QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$0\" \"$@\"").arg(limitKiB),
                  QStringLiteral(PWX_PROGRAM)} +
          arguments);
}

Ran Finish(QProcess& program) {
  if (!program.waitForFinished(60000)) return {};
  return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
          QString::fromUtf8(program.readAllStandardOutput()),
          QString::fromUtf8(program.readAllStandardError())};
}

Ran RunProgram(const QStringList& arguments, const QString& folder, int limitKiB = 0) {
  QProcess program;
  StartProgram(program, arguments, folder, limitKiB);
  return Finish(program);
}

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// Every file of a folder with its bytes, hidden ones included.
QMap<QString, QByteArray> Contents(const QString& folder) {
  QMap<QString, QByteArray> contents;
  QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System);
  while (it.hasNext()) {
    const QString path = it.next();
    contents.insert(it.fileName(), Read(path));
  }
  return contents;
}

QByteArray NameMap(const QMap<int, QByteArray>& clips) {
  QByteArray map = "\xEF\xBB\xBF";
  for (int line = 1; line <= 64; ++line) map += clips.value(line) + "\r\n";
  return map;
}

// A small tmpfs filled to all but a few KiB, unmounted at the end.
class FullDisk {
 public:
  explicit FullDisk(const QString& at) : at_(at) {
    QDir().mkpath(at);
    if (geteuid() != 0) return;
    mounted_ =
        QProcess::execute(QStringLiteral("mount"),
                          {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                           QStringLiteral("size=256k"), QStringLiteral("tmpfs"), at}) == 0;
  }
  ~FullDisk() {
    if (mounted_) QProcess::execute(QStringLiteral("umount"), {at_});
  }
  bool Mounted() const { return mounted_; }
  // Fills the disk up to `leaveKiB` free.
  void Fill(int leaveKiB) const {
    QProcess::execute(QStringLiteral("sh"),
                      {QStringLiteral("-c"),
                       QStringLiteral("dd if=/dev/zero of='%1/fill' bs=1k count=$(( $(df -k "
                                      "--output=avail '%1' | tail -1) - %2 )) 2>/dev/null")
                           .arg(at_)
                           .arg(leaveKiB)});
  }

 private:
  QString at_;
  bool mounted_ = false;
};

}  // namespace

class SafeWritesCommandTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(folder_.isValid());
    project_ = folder_.filePath(QStringLiteral("P"));
    QVERIFY(QDir().mkpath(project_));
    QVERIFY(QFile::copy(QStringLiteral(PWX_CLIP_FIXTURES "/mpeg1-stereo-cbr.mp3"),
                        project_ + QStringLiteral("/001.mp3")));
    Write(project_ + QStringLiteral("/m3fn.txt"), NameMap({{1, "C:\\voice\\Evacuate now.mp3"}}));
    QByteArray plist(512, '\0');
    plist.replace(0, 4, "\x5A\x35\x77\xA5");
    for (int slot = 0; slot < 64; ++slot) plist[96 + slot] = 1;
    for (int slot = 0; slot < 32; ++slot) plist[32 + slot] = 1;
    plist[256] = 1;  // DI1 plays clip 001
    Write(project_ + QStringLiteral("/plist.cfg"), plist);
  }

  void reportOverTheProjectsFilesIsRefused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("refusal");
    const QString p = folder_.filePath(QStringLiteral("P"));
    const QString out = folder_.filePath(QStringLiteral("out"));
    QTest::newRow("the play list")
        << QStringList{"-o", p + "/plist.cfg"} << "is the project's plist.cfg";
    QTest::newRow("PDF and CSV in one file")
        << QStringList{"-o", out + ".pdf", "--csv", out + ".pdf"} << "are the same file";
  }

  // Refused with exit status 2 before anything is written.
  void reportOverTheProjectsFilesIsRefused() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, refusal);
    const auto before = Contents(project_);
    const Ran ran = RunProgram(QStringList{"report", project_} + arguments, folder_.path());
    QCOMPARE(ran.status, 2);
    QVERIFY2(ran.err.contains(refusal), qPrintable(ran.err));
    QVERIFY2(ran.out.isEmpty(), qPrintable(ran.out));
    QCOMPARE(Contents(project_), before);
    QVERIFY(!QFile::exists(folder_.filePath(QStringLiteral("out.pdf"))));
  }

  void reportThatDoesNotFitKeepsThePreviousOne_data() {
    QTest::addColumn<bool>("tmpfs");
    QTest::addColumn<int>("shortKiB");  // how much is missing for the report to fit
    QTest::newRow("disk full at the start") << true << 28;
    QTest::newRow("disk full at the last bytes") << true << 1;
    QTest::newRow("write refused past a size") << false << 8;
  }

  // The disk fills while the PDF is written: the previous report stays whole, no temporary
  // is left, and nothing says "Report written".
  void reportThatDoesNotFitKeepsThePreviousOne() {
    QFETCH(bool, tmpfs);
    QFETCH(int, shortKiB);
    const QString at = folder_.filePath(QStringLiteral("out-%1").arg(QTest::currentDataTag()));
    const FullDisk disk(at);
    if (tmpfs && !disk.Mounted()) QSKIP("skipped: no tmpfs can be mounted here (needs root)");
    const QString report = at + QStringLiteral("/report.pdf");
    QCOMPARE(RunProgram({"report", project_, "-o", report}, folder_.path()).status, 0);
    const QByteArray previous = Read(report);
    QVERIFY(previous.size() > 8 * 1024);
    const int needKiB = static_cast<int>(previous.size() / 1024) + 1;
    if (tmpfs) disk.Fill(needKiB - shortKiB);
    const Ran ran = RunProgram({"report", "-q", project_, "-o", report}, folder_.path(),
                               tmpfs ? 0 : needKiB - shortKiB);
    QCOMPARE(ran.status, 2);
    QVERIFY2(ran.err.startsWith("Cannot create file \"" + report + "\". "), qPrintable(ran.err));
    QVERIFY2(!ran.out.contains(QStringLiteral("Report written")), qPrintable(ran.out));
    QCOMPARE(Read(report), previous);
    for (const QString& name : Contents(at).keys()) {
      QVERIFY2(!name.endsWith(QStringLiteral(".saving")), qPrintable(name));
    }
  }

  void reportThroughAPlantedLinkLeavesItsTargetAlone() {
    const QString target = folder_.filePath(QStringLiteral("someone else's.txt"));
    Write(target, "not a report");
    const QString pdf = folder_.filePath(QStringLiteral("planted.pdf"));
    const QString csv = folder_.filePath(QStringLiteral("planted.csv"));
    QVERIFY(QFile::link(target, pdf));
    QVERIFY(QFile::link(target + "2", csv));  // a link to nothing yet
    const Ran ran = RunProgram({"report", project_, "-o", pdf, "--csv", csv}, folder_.path());
    QCOMPARE(ran.status, 0);
    QCOMPARE(Read(target), QByteArray("not a report"));
    QVERIFY(!QFile::exists(target + "2"));
    QVERIFY(QFileInfo(pdf).isFile() && !QFileInfo(pdf).isSymLink());
    QVERIFY(Read(pdf).startsWith("%PDF"));
    QVERIFY(!QFileInfo(csv).isSymLink());
  }

  // Four imports into one project at once, each into its own clip: every one lands.
  void importsRunningAtOnceAllLand() {
    const QString project = folder_.filePath(QStringLiteral("Busy"));
    QVERIFY(QDir().mkpath(project));
    const QString clip = QStringLiteral(PWX_CLIP_FIXTURES "/mpeg1-mono-vbr.mp3");
    QProcess imports[4];
    for (int k = 0; k < 4; ++k) {
      StartProgram(imports[k], {"import", project, QString::number(k + 3), clip}, folder_.path());
    }
    for (auto& import : imports) {
      const Ran ran = Finish(import);
      QVERIFY2(ran.status == 0, qPrintable(ran.err));
    }
    const QByteArray source = QFile::encodeName(clip);
    QCOMPARE(Read(project + QStringLiteral("/m3fn.txt")),
             NameMap({{3, source}, {4, source}, {5, source}, {6, source}}));
  }

  // Another program holds the folder longer than an import waits: the import is refused with
  // a clear message and changes nothing.
  void importIntoAHeldFolderIsRefused() {
    const auto before = Contents(project_);
    QProcess holder;
    holder.start(QStringLiteral("flock"),
                 {project_, QStringLiteral("sleep"), QStringLiteral("20")});
    QVERIFY(holder.waitForStarted());
    // Held once a try of our own fails.
    QTRY_VERIFY(QProcess::execute(QStringLiteral("flock"),
                                  {QStringLiteral("-n"), project_, QStringLiteral("true")}) != 0);
    const Ran ran = RunProgram(
        {"import", project_, "3", QStringLiteral(PWX_CLIP_FIXTURES "/mpeg1-mono-vbr.mp3")},
        folder_.path());
    holder.kill();
    holder.waitForFinished();
    QCOMPARE(ran.status, 1);
    QVERIFY2(ran.err.contains(QStringLiteral("Another program is changing")), qPrintable(ran.err));
    QCOMPARE(Contents(project_), before);
  }

 private:
  QTemporaryDir folder_;
  QString project_;
};

QTEST_GUILESS_MAIN(SafeWritesCommandTest)
#include "SafeWritesCommandTest.moc"
