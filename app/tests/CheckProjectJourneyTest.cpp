#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "WindowTestSupport.h"
#include "app/CheckResultsDialog.h"
#include "app/SlotRow.h"

namespace pwx::apptest {

namespace {

// The row of the findings list whose place reads `where`, or -1.
int RowAt(QTableWidget* list, const QString& where) {
  for (int row = 0; row < list->rowCount(); ++row) {
    if (list->item(row, 1)->text() == where) return row;
  }
  return -1;
}

void DoubleClick(QTableWidget* list, int row) {
  const QPoint cell = list->visualItemRect(list->item(row, 1)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell);
}

}  // namespace

// A project with a missing copy, a damaged one and an input naming a clip the library lacks:
// the check runs from the top bar, lists the errors first, counts them in the status line,
// and a double-click on a finding shows its clip or its input.
class CheckProjectJourneyTest : public QObject {
  Q_OBJECT

 private slots:
  void findingsAreListedAndLeadToTheirPlaces() {
    WindowUnderTest t;
    const QString fixtures = QStringLiteral(PWX_CLIP_FIXTURES);
    QVERIFY(QFile::copy(fixtures + "/mpeg1-stereo-cbr.mp3", t.folder.Path("001.mp3")));
    QVERIFY(QFile::copy(fixtures + "/truncated.mp3", t.folder.Path("002.mp3")));
    t.WriteProject({1, 2, 3}, PlayListBytes().Saved().Slot(0, {1}).Slot(1, {2}).Slot(2, {3, 9}));
    t.Open();
    QVERIFY(t.Show());

    auto* button = t.Find<QToolButton>("CheckProject");
    QCOMPARE(button->text(), "Check Project");
    QCOMPARE(button->toolTip(), "Check the project before copying it to the player");
    button->click();
    QTRY_VERIFY_WITH_TIMEOUT(t.window->CheckResults() && t.window->CheckResults()->isVisible(),
                             20000);
    QVERIFY(button->isEnabled());
    QVERIFY(t.Find<QLabel>("StatusBar1Line")->text().startsWith("Check: 2 errors, "));

    QTableWidget* list = t.window->CheckResults()->List();
    QCOMPARE(list->item(0, 0)->text(), "error");
    QCOMPARE(list->item(1, 0)->text(), "error");
    QCOMPARE(list->item(2, 0)->text(), "warning");
    QCOMPARE(list->item(list->rowCount() - 1, 0)->text(), "info");

    const int missing = RowAt(list, "clip 003, 003.mp3");
    QVERIFY(missing >= 0);
    DoubleClick(list, missing);
    QCOMPARE(t.Find<QTableWidget>("StringGrid1")->currentRow(), 3);
    QCOMPARE(t.Core().CurrentRow(), 3);

    const int input = RowAt(list, "DI3 #2, clip 009");
    QVERIFY(input >= 0);
    DoubleClick(list, input);
    QComboBox* first = t.window->widgets().Rows[2]->Clips[0];
    QTRY_COMPARE(QApplication::focusWidget(), first);
  }

  void aSoundProjectSaysSoPlainly() {
    WindowUnderTest t;
    QVERIFY(QFile::copy(QStringLiteral(PWX_CLIP_FIXTURES "/mpeg2-mono-cbr.mp3"),
                        t.folder.Path("001.mp3")));
    QVERIFY(QFile::copy(QStringLiteral(PWX_ERR1_MP3), t.folder.Path("Err1.mp3")));
    t.WriteProject({1},
                   PlayListBytes().Saved().Slot(0, {1}).Slot(1, {1}).Slot(2, {1}).Slot(3, {1}));
    t.Open();
    QVERIFY(t.Show());
    // Saved as it was loaded, so nothing differs from the files on disk.
    t.Find<QToolButton>("SpeedButton9")->click();
    QTest::keyClick(t.window.get(), Qt::Key_F5);
    QTRY_VERIFY_WITH_TIMEOUT(t.window->CheckResults() && t.window->CheckResults()->isVisible(),
                             20000);
    QCOMPARE(t.Find<QLabel>("StatusBar1Line")->text(), "Check: no problems found");
    QCOMPARE(t.window->CheckResults()->findChild<QLabel*>("CheckSummary")->text(),
             "No problems found: the project is ready to copy to the player.");
  }
};

}  // namespace pwx::apptest

QTEST_MAIN(pwx::apptest::CheckProjectJourneyTest)
#include "CheckProjectJourneyTest.moc"
