#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include "WindowTestSupport.h"
#include "app/AudioGrid.h"
#include "app/SlotControlNames.h"
#include "app/SlotRow.h"
#include "app/WindowStyle.h"

namespace pwx::apptest {

namespace {

void Wheel(QWidget* target) {
  const QPointF at(target->width() / 2.0, target->height() / 2.0);
  QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(target, &wheel);
}

}  // namespace

// The window's scrolling and input habits: the wheel does nothing in the main window, the
// scroll list takes the focus from a press on its own area, the grid's header stays in view.
class WindowInputTest : public QObject {
  Q_OBJECT

 private slots:
  void pressOnTheScrollListFocusesIt() {
    WindowUnderTest t;
    TForm1& window = t.Open();
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    t.Find<QComboBox>("ComboBox1")->setCurrentIndex(5);
    auto* list = t.Find<QScrollArea>("ScrollBox1");
    auto* selector = t.Find<QComboBox>("ComboBox45");  // bI7 #1, inside the list

    QTest::mouseClick(selector, Qt::LeftButton);
    QVERIFY(!list->hasFocus());
    // Below the last row the list shows its own background.
    const QPoint free(10, list->viewport()->height() - 5);
    QVERIFY(!list->viewport()->childAt(free));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, free);
    QVERIFY(list->hasFocus());
  }

  void wheelChangesNothing() {
    WindowUnderTest t;
    t.WriteProject({2, 5}, PlayListBytes().Mode(5));
    t.Open();
    // The rows a mode shows fit into the list; taller content makes it one that could scroll.
    QVERIFY(t.Show());
    auto* list = t.Find<QScrollArea>("ScrollBox1");
    list->widget()->resize(list->widget()->width(), 1000);
    QVERIFY(list->verticalScrollBar()->maximum() > 0);
    Wheel(list->viewport());
    Wheel(list->verticalScrollBar());
    QCOMPARE(list->verticalScrollBar()->value(), 0);

    auto* grid = t.Find<QTableWidget>("StringGrid1");
    QVERIFY(grid->verticalScrollBar()->maximum() > 0);
    Wheel(grid->viewport());
    QCOMPARE(grid->verticalScrollBar()->value(), 0);

    auto* selector = t.Find<QComboBox>("ComboBox9");
    QCOMPARE(selector->currentText(), "None");
    Wheel(selector);
    QCOMPARE(selector->currentText(), "None");
    QCOMPARE(t.Core().Project().Slots[0].Clips[0], "None");
  }

  void wheelChangesNothingInTheSelectorsOwnList() {
    WindowUnderTest t;
    std::vector<int> clips(64);
    for (int i = 0; i < 64; ++i) clips[i] = i + 1;
    t.WriteProject(clips, PlayListBytes());
    t.Open();
    QVERIFY(t.Show());
    // The open list is a window of its own, but still the main window's.
    auto* selector = t.Find<QComboBox>("ComboBox9");
    QCOMPARE(selector->count(), 65);
    selector->showPopup();
    QAbstractItemView* list = selector->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    QVERIFY(list->verticalScrollBar()->maximum() > 0);
    const int top = list->verticalScrollBar()->value();
    Wheel(list->viewport());
    QCOMPARE(list->verticalScrollBar()->value(), top);
    selector->hidePopup();
  }

  void wheelStillWorksInDialogsAndOtherWindows() {
    WindowUnderTest t;
    t.Open();
    // A dialog over the main window, as the folder and file choosers and the message boxes.
    QDialog dialog(t.window.get());
    auto* number = new QSpinBox(&dialog);
    number->setRange(0, 10);
    number->setValue(5);
    auto* choice = new QComboBox(&dialog);
    choice->addItems({"a", "b", "c"});
    Wheel(number);  // one notch down
    Wheel(choice);
    QCOMPARE(number->value(), 4);
    QCOMPARE(choice->currentIndex(), 1);

    QComboBox elsewhere;  // a window that is no part of the main window
    elsewhere.addItems({"a", "b"});
    Wheel(&elsewhere);
    QCOMPARE(elsewhere.currentIndex(), 1);
  }

  void gridHeaderStaysInViewWhileTheClipsScroll() {
    WindowUnderTest t;
    t.WriteProject({1, 64}, PlayListBytes());
    t.Open();
    QVERIFY(t.Show());
    auto* grid = t.Find<QTableWidget>("StringGrid1");
    QHeaderView* header = grid->horizontalHeader();
    // Row 0 keeps the titles; the header above the cells shows them instead of the row.
    QCOMPARE(grid->item(0, 0)->text(), "File No.");
    QCOMPARE(grid->item(0, 1)->text(), "Real File Name");
    QVERIFY(grid->isRowHidden(0));

    grid->scrollToItem(grid->item(64, 1));
    QVERIFY(grid->verticalScrollBar()->value() > 0);
    QVERIFY(grid->viewport()->rect().contains(grid->visualItemRect(grid->item(64, 1))));
    QCOMPARE(grid->item(64, 0)->text(), "064");
    QVERIFY(header->isVisible());
    QCOMPARE(header->height(), 22);
    QVERIFY(header->geometry().bottom() < grid->viewport()->geometry().top());
    QCOMPARE(header->model()->headerData(0, Qt::Horizontal).toString(), "File No.");
    QCOMPARE(header->model()->headerData(1, Qt::Horizontal).toString(), "Real File Name");

    // Painted as the old title row: black text on the face colour, no blue.
    const QImage band = header->grab().toImage();
    for (int column = 0; column < kGridColumns; ++column) {
      const int left = header->sectionViewportPosition(column);
      const int width = header->sectionSize(column);
      QCOMPARE(band.pixelColor(left + 2, 2), FaceColour());
      int black = 0;
      int blue = 0;
      for (int y = 0; y < band.height(); ++y) {
        for (int x = left; x < left + width; ++x) {
          const QColor pixel = band.pixelColor(x, y);
          black += pixel.value() < 80;
          blue += pixel.blue() > 150 && pixel.red() < 100;
        }
      }
      QVERIFY2(black > 10, qPrintable(QString("column %1 shows no title").arg(column)));
      QCOMPARE(blue, 0);
    }
  }
};

}  // namespace pwx::apptest

QTEST_MAIN(pwx::apptest::WindowInputTest)
#include "WindowInputTest.moc"
