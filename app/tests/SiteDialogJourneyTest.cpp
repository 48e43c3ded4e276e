#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "WindowTestSupport.h"
#include "app/CardDialogs.h"
#include "app/SiteDialog.h"

namespace pwx::apptest {

// The window's site dialog: the players of a site file, a cell edit checked at once, and a
// player's card copied through Copy to Card's chooser and plan.
class SiteDialogJourneyTest : public QObject {
  Q_OBJECT

 private slots:
  void editsAreCheckedAndThePlayersCardIsCopied() {
    WindowUnderTest t;
    QVERIFY(QFile::copy(QStringLiteral(PWX_CLIP_FIXTURES "/mpeg1-stereo-cbr.mp3"),
                        t.folder.Path("001.mp3")));
    t.WriteProject({1}, PlayListBytes().Saved().Slot(0, {1}));
    t.Open();
    QVERIFY(t.Show());
    t.Find<QToolButton>("SpeedButton9")->click();
    QVERIFY(
        t.Find<QToolButton>("CopyToCard")->menu()->actions().contains(t.window->widgets().Site));

    QTemporaryDir site;
    QFile file(site.filePath("site.csv"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("player,location,bus,device_id,volume,project,parity\n");
    file.write(("A,Hall,1,11,7," + t.folder.Native() + ",E\n").c_str());
    file.write(("B,Hall,1,12,3," + t.folder.Native() + ",E\n").c_str());
    file.close();
    SiteDialog* dialog = t.window->OpenSiteFile(ReadSiteFile(file.fileName().toStdString()));
    QTableWidget* players = dialog->Players();
    QCOMPARE(players->rowCount(), 2);
    const int check = players->columnCount() - 1;
    QCOMPARE(players->item(1, check)->text(), "ok");

    players->item(1, 3)->setText("11");
    QVERIFY2(players->item(1, check)->text().contains("Device ID 11 is used twice on bus 1"),
             qPrintable(players->item(1, check)->text()));
    players->item(1, 3)->setText("12");
    QCOMPARE(players->item(1, check)->text(), "ok");

    QTemporaryDir card;
    t.window->SetCardChooser([&](const QString&) { return card.path(); });
    t.window->SetPlanReview([](CardPlanDialog&) { return true; });
    QStringList texts;
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        texts << box->text();
        box->accept();
      }
    });
    closer.start();
    players->selectRow(1);
    dialog->CopyButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!texts.isEmpty(), 20000);
    QVERIFY2(texts.first().startsWith("'B' (bus 1, Device ID 12): Card verified: 6 files"),
             qPrintable(texts.first()));
    QFile rtu(card.filePath("rtu.cfg"));
    QVERIFY(rtu.open(QIODevice::ReadOnly));
    QCOMPARE(rtu.readAll(), "12,115200,E,8,1");
    QVERIFY(QFile::exists(site.filePath("site.log.csv")));
  }
};

}  // namespace pwx::apptest

QTEST_MAIN(pwx::apptest::SiteDialogJourneyTest)
#include "SiteDialogJourneyTest.moc"
