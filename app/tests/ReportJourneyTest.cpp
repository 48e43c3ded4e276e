#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "WindowTestSupport.h"
#include "app/ReportDialog.h"

namespace pwx::apptest {

namespace {

QString PdfText(const QString& pdf) {
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
  text.waitForFinished(30000);
  return QString::fromUtf8(text.readAllStandardOutput());
}

}  // namespace

// The report from the window: it describes what the next save writes and says so when that
// differs from the files, and the save dialog remembers "Open after saving".
class ReportJourneyTest : public QObject {
  Q_OBJECT

 private slots:
  void reportOfUnsavedEditsIsMarkedAndOpened() {
    WindowUnderTest t;
    QVERIFY(QFile::copy(QStringLiteral(PWX_CLIP_FIXTURES "/mpeg1-stereo-cbr.mp3"),
                        t.folder.Path("001.mp3")));
    t.WriteProject({1}, PlayListBytes().Saved().Slot(0, {1}, 3, true));
    t.Open();
    QVERIFY(t.Show());
    auto* deviceId = t.Find<QLineEdit>("Edit19");
    deviceId->selectAll();
    QTest::keyClicks(deviceId, QStringLiteral("42"));

    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("handover.pdf"));
    QString suggested;
    t.window->SetReportTarget([&](const QString& path) -> std::optional<ReportTarget> {
      suggested = path;
      return ReportTarget{pdf, false, true};
    });
    QList<QUrl> opened;
    t.window->SetUrlOpener([&](const QUrl& url) { opened << url; });
    t.Find<QToolButton>("Report")->click();
    QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 1, 20000);
    QCOMPARE(opened.first(), QUrl::fromLocalFile(pdf));
    QCOMPARE(suggested, DefaultReportPath(t.folder.Path()));
    QVERIFY(suggested.endsWith(QDir(t.folder.Path()).dirName() + " report.pdf"));

    const QString page = PdfText(pdf);
    for (const char* expected : {"The project has unsaved changes", "42,115200,N,8,1",
                                 "001 source1", "The window holds edits that are not in rtu.cfg"}) {
      QVERIFY2(page.contains(QString::fromUtf8(expected)),
               qPrintable(expected + ("\n" + page).right(900)));
    }
    QCOMPARE(t.Find<QLabel>("StatusBar1Line")->text(),
             "Report written to " + QDir::toNativeSeparators(pdf));
  }

  // A report chosen over one of the project's own files is refused with a box, and the file
  // stays as it is.
  void reportOverAProjectFileIsRefused() {
    WindowUnderTest t;
    t.WriteProject({}, PlayListBytes().Saved());
    t.Open();
    QVERIFY(t.Show());
    const QString plist = t.folder.Path(QStringLiteral("plist.cfg"));
    QFile before(plist);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    t.window->SetReportTarget(
        [&](const QString&) -> std::optional<ReportTarget> { return ReportTarget{plist}; });
    QString shown;
    QTimer::singleShot(50, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown = box->text();
        box->accept();
      }
    });
    t.Find<QToolButton>("Report")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 5000);
    QVERIFY2(shown.contains(QStringLiteral("is the project's plist.cfg")), qPrintable(shown));
    QFile after(plist);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), bytes);
    QCOMPARE(t.Find<QLabel>("StatusBar1Line")->text(), QStringLiteral("Report not written"));
  }

  void saveDialogOffersCsvAndRemembersOpening() {
    QSettings(QSettings::UserScope, QStringLiteral("pwx36-editor"), QStringLiteral("pwx36-editor"))
        .remove(QStringLiteral("report"));
    QTemporaryDir out;
    const QString suggested = out.filePath(QStringLiteral("P report.pdf"));
    QStringList names;
    bool ticked = false;
    const auto answer = [&](bool tick, bool csv) {
      QTimer::singleShot(50, [&, tick, csv] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("OpenAfterSaving"));
        ticked = box && box->isChecked();
        if (box && tick) box->setChecked(true);
        if (csv) dialog->selectNameFilter(dialog->nameFilters().value(1));
        names << dialog->selectedFiles().value(0);
        QMetaObject::invokeMethod(dialog, "accept");
      });
    };
    answer(true, false);
    const auto first = AskForReportTarget(nullptr, suggested);
    QVERIFY(first && !ticked);
    QCOMPARE(first->Path, suggested);
    QVERIFY(first->OpenAfter && !first->Csv);

    answer(false, true);
    const auto second = AskForReportTarget(nullptr, suggested);
    QVERIFY(second && ticked);  // remembered from the first time
    QVERIFY(second->Csv);
  }
};

}  // namespace pwx::apptest

QTEST_MAIN(pwx::apptest::ReportJourneyTest)
#include "ReportJourneyTest.moc"
