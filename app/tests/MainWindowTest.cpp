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

QStringList Items(const QComboBox* selector) {
  QStringList items;
  for (int i = 0; i < selector->count(); ++i) items << selector->itemText(i);
  return items;
}

QStringList Strings(const std::vector<std::string>& texts) {
  QStringList list;
  for (const auto& text : texts) list << QString::fromStdString(text);
  return list;
}

// Which of the 32 slot rows the user can see; a row not built is not seen.
QList<int> VisibleSlots(const WindowUnderTest& t) {
  QList<int> visible;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const auto* row = t.Find<QWidget>(kSlotTable[slot].Panel);
    if (row && row->isVisibleTo(t.window.get())) visible << slot;
  }
  return visible;
}

// The slot rows that have been built.
QList<int> BuiltSlots(const WindowUnderTest& t) {
  QList<int> built;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (t.Find<QWidget>(kSlotTable[slot].Panel)) built << slot;
  }
  return built;
}

QList<int> Range(int first, int last) {
  QList<int> rows;
  for (int slot = first; slot <= last; ++slot) rows << slot;
  return rows;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void modeRelabelsAndShowsRows() {
    WindowUnderTest t;
    t.Open();
    auto* mode = t.Find<QComboBox>("ComboBox1");
    auto* testInput = t.Find<QComboBox>("ComboBox74");

    mode->setCurrentIndex(5);  // picked from the list
    QCOMPARE(int(t.Core().Project().Mode.Value), 5);
    QCOMPARE(t.Find<QGroupBox>("GroupBox1")->title(), "Mode 4-7, Binary Input(bI1~bI6))");
    QCOMPARE(VisibleSlots(t), Range(0, 14));
    QCOMPARE(t.Find<QLabel>("Label7")->text(), "bI1 (0001b)");
    QCOMPARE(t.Find<QLabel>("Label68")->text(), "bI6 (0110b)");
    QCOMPARE(t.Find<QLabel>("Label86")->text(), "bI15 (1111b)");
    QCOMPARE(t.Find<QComboBox>("ComboBox9")->accessibleName(), "bI1 (0001b) #1");
    QCOMPARE(Items(testInput).size(), 15);
    QCOMPARE(Items(testInput).first(), "bI1");
    QCOMPARE(Items(testInput).last(), "bI15");
    QCOMPARE(testInput->currentText(), "bI1");
    QVERIFY(!testInput->isHidden());  // the "Test input" bar shows it

    mode->setCurrentIndex(3);
    QCOMPARE(t.Find<QGroupBox>("GroupBox1")->title(), "Mode 0-3, Digital Pin Input(DI1~DI4)");
    QCOMPARE(VisibleSlots(t), Range(0, 3));
    QVERIFY(!t.Find<QGroupBox>("GroupBox2")->isVisibleTo(t.window.get()));
    QCOMPARE(t.Find<QLabel>("Label26")->text(), "DI4");
    QCOMPARE(t.Find<QLineEdit>("Edit2")->accessibleName(), "DI1 Repeat");
    QCOMPARE(t.Find<QCheckBox>("CheckBox5")->accessibleName(), "DI4 Alarm Output");
    QCOMPARE(Items(testInput), QStringList({"DI1", "DI2", "DI3", "DI4"}));
    QVERIFY(t.host.errorBoxes.empty());
  }

  void typedModeText_data() {
    QTest::addColumn<QStringList>("keystrokes");
    QTest::addColumn<QList<int>>("modes");  // the mode after each keystroke
    QTest::addColumn<QString>("errorBox");
    QTest::newRow("1 then 12") << QStringList{"1", "2"} << QList<int>{1, 12} << QString();
    QTest::newRow("300 wraps to 44")
        << QStringList{"3", "0", "0"} << QList<int>{3, 30, 44} << QString();
    QTest::newRow("letter") << QStringList{"x"} << QList<int>{0}
                            << "'x' is not a valid integer value";
  }

  void typedModeText() {
    QFETCH(QStringList, keystrokes);
    QFETCH(QList<int>, modes);
    QFETCH(QString, errorBox);
    WindowUnderTest t;
    t.Open();
    QLineEdit* edit = t.Find<QComboBox>("ComboBox1")->lineEdit();
    edit->selectAll();
    for (int i = 0; i < keystrokes.size(); ++i) {
      QTest::keyClicks(edit, keystrokes[i]);
      const int mode = t.Core().Project().Mode.Value;
      QCOMPARE(mode, modes[i]);
      // Rows follow every keystroke, and the box keeps what the user typed.
      QCOMPARE(VisibleSlots(t), mode < 4 ? Range(0, 3) : Range(0, 14));
      QCOMPARE(t.Find<QLabel>("Label7")->text(), mode < 4 ? "DI1" : "bI1 (0001b)");
      QCOMPARE(edit->text(), keystrokes.mid(0, i + 1).join(QString()));
    }
    const QStringList expectedErrors = errorBox.isEmpty() ? QStringList() : QStringList{errorBox};
    QCOMPARE(Strings(t.host.errorBoxes), expectedErrors);
  }

  void clipSelectorsOfferTheOccupiedClips() {
    WindowUnderTest t;
    // Mode 5 shows slots 0 to 14. Slot 0 stores clips 5 and 7, slot 31 clip 2; entry 7 of the
    // library is free.
    t.WriteProject({2, 5}, PlayListBytes().Mode(5).Slot(0, {5, 7}, 3, true).Slot(31, {2}));
    t.Open(false);
    for (int slot : BuiltSlots(t)) {
      QCOMPARE(Items(t.Find<QComboBox>(kSlotTable[slot].Clips[3])), QStringList{"None"});
    }

    t.window->FormActivate();
    QCOMPARE(BuiltSlots(t), Range(0, 14));
    for (int slot : BuiltSlots(t)) {
      for (const char* name : kSlotTable[slot].Clips) {
        QCOMPARE(Items(t.Find<QComboBox>(name)), QStringList({"None", "002", "005"}));
      }
    }
    QCOMPARE(t.Find<QComboBox>("ComboBox9")->currentText(), "005");
    QCOMPARE(t.Find<QComboBox>("ComboBox6")->currentIndex(), -1);  // clip 7 is not offered
    QCOMPARE(t.Find<QComboBox>("ComboBox7")->currentText(), "None");
    QCOMPARE(t.Find<QLineEdit>("Edit2")->text(), "3");
    QVERIFY(t.Find<QCheckBox>("CheckBox2")->isChecked());
    for (int slot : BuiltSlots(t)) {
      if (slot == 0) continue;
      QCOMPARE(t.Find<QLineEdit>(kSlotTable[slot].Repeat)->text(), "1");
      QVERIFY(!t.Find<QCheckBox>(kSlotTable[slot].AlarmOutput)->isChecked());
    }
    // The spare row is never shown and never built; its clip lives in the record all the same.
    QCOMPARE(t.Core().Project().Slots[31].Clips[0], "002");
  }

  // Rows are built the first time a mode shows them, with the values the record holds.
  void rowsAreBuiltWhenTheModeFirstShowsThem() {
    WindowUnderTest t;
    t.WriteProject({2}, PlayListBytes().Slot(8, {2}, 4, true));
    t.Open();
    QCOMPARE(BuiltSlots(t), Range(0, 5));
    t.Find<QComboBox>("ComboBox1")->setCurrentIndex(6);
    QCOMPARE(BuiltSlots(t), Range(0, 14));
    QCOMPARE(t.Find<QComboBox>("ComboBox37")->currentText(), "002");  // bI9 #1
    QCOMPARE(t.Find<QLineEdit>("Edit9")->text(), "4");
    QVERIFY(t.Find<QCheckBox>("CheckBox9")->isChecked());
    t.Find<QComboBox>("ComboBox1")->setCurrentIndex(1);
    t.Find<QComboBox>("ComboBox1")->setCurrentIndex(7);
    QCOMPARE(BuiltSlots(t), Range(0, 14));  // built once
  }

  void slotRowsFollowTheSlotTable_data() {
    QTest::addColumn<int>("slot");
    for (int slot = 0; slot < 15; ++slot) {  // the rows that some mode shows
      QTest::addRow("slot %d (%s)", slot, kSlotTable[slot].Panel) << slot;
    }
  }

  void slotRowsFollowTheSlotTable() {
    QFETCH(int, slot);
    const SlotControls& names = kSlotTable[slot];
    WindowUnderTest t;
    t.WriteProject({2, 5}, PlayListBytes().Mode(5));
    t.Open();

    auto* panel = t.Find<QWidget>(names.Panel);
    QVERIFY(panel);
    QCOMPARE(panel->size(), QSize(695, 25));
    const char* container = slot < 6 ? "GroupBox1" : "ScrollBox1";
    QVERIFY(t.Find<QWidget>(container)->isAncestorOf(panel));

    QList<QWidget*> controls{t.Find<QLabel>(names.Label)};
    for (const char* clip : names.Clips) controls << t.Find<QComboBox>(clip);
    controls << t.Find<QLineEdit>(names.Repeat) << t.Find<QCheckBox>(names.AlarmOutput);
    const QList<int> lefts{4, 131, 219, 306, 393, 524, 605};
    for (int i = 0; i < controls.size(); ++i) {
      QVERIFY2(controls[i], qPrintable(QString("control %1 missing").arg(i)));
      QCOMPARE(controls[i]->parentWidget(), panel);
      QCOMPARE(controls[i]->x(), lefts[i]);
    }

    // Each control writes its own field of its own slot, and nothing else.
    const auto before = t.Core().Project().Slots;
    auto expected = before;
    for (int k = 0; k < kClipsPerSlot; ++k) {
      auto* selector = static_cast<QComboBox*>(controls[1 + k]);
      selector->setCurrentIndex(selector->findText(k % 2 ? "002" : "005"));
      expected[slot].Clips[k] = k % 2 ? "002" : "005";
      QCOMPARE(t.Core().Project().Slots, expected);
    }
    auto* repeat = static_cast<QLineEdit*>(controls[5]);
    repeat->selectAll();
    QTest::keyClicks(repeat, "42");
    expected[slot].Repeat = "42";
    QCOMPARE(t.Core().Project().Slots, expected);
    static_cast<QCheckBox*>(controls[6])->click();
    expected[slot].AlarmOutput = true;
    QCOMPARE(t.Core().Project().Slots, expected);
  }

  void settingsWriteThrough_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("field");
    QTest::newRow("device id") << "Edit19"
                               << "a12b"
                               << "12" << 0;  // digits only
    QTest::newRow("baud rate") << "ComboBox75"
                               << "9600"
                               << "9600" << 1;
    QTest::newRow("parity") << "ComboBox76"
                            << "Even"
                            << "Even" << 2;
    QTest::newRow("data bits") << "ComboBox77"
                               << "7"
                               << "7" << 3;
    QTest::newRow("stop bits") << "ComboBox78"
                               << "2"
                               << "2" << 4;
  }

  void settingsWriteThrough() {
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, field);
    WindowUnderTest t;
    t.Open();
    const ModbusRtuSettings& settings = t.Core().Project().Settings;
    QCOMPARE(settings, ModbusRtuSettings{});  // "1", "115200", "None", "8", "1"
    auto* widget = t.window->findChild<QWidget*>(control);
    auto* combo = qobject_cast<QComboBox*>(widget);
    QLineEdit* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(widget);
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);
    const std::string values[] = {settings.DeviceId, settings.BaudRate, settings.Parity,
                                  settings.DataBits, settings.StopBits};
    QCOMPARE(QString::fromStdString(values[field]), shown);
  }

  void volumeSliderShowsItsPosition() {
    WindowUnderTest t;
    t.Open();
    auto* slider = t.Find<QSlider>("TrackBar1");
    QCOMPARE(t.Find<QLabel>("Label112")->text(), "5");
    QCOMPARE(slider->value(), 5);
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(t.Find<QLabel>("Label112")->text(), "8");
    QCOMPARE(t.Core().Project().Volume, 8);
  }

  void statusAndHiddenControls() {
    WindowUnderTest t;
    t.Open();
    QCOMPARE(t.window->windowTitle(), "PWX36 Editor V1.00 (20200103)");
    QCOMPARE(t.window->size(), QSize(1208, 559));
    QCOMPARE(t.Find<QLabel>("StatusBar1Line")->width(), 800);
    // The trigger-input test's controls are shown and usable once the project is open.
    for (const char* name : {"ComboBox74", "SpeedButton3", "SpeedButton8", "TimelineStrip"}) {
      QVERIFY2(!t.Find<QWidget>(name)->isHidden(), name);
      QVERIFY2(t.Find<QWidget>(name)->isEnabled(), name);
    }

    // Stop without an open clip: an error box, and the second panel still draws nothing.
    t.Find<QToolButton>("SpeedButton5")->click();
    QCOMPARE(Strings(t.host.errorBoxes), QStringList{"No MCI device open"});
    auto* blank = t.Find<QWidget>("StatusBar1Panel2");
    QCOMPARE(blank->width(), 150);
    const QImage drawn = blank->grab().toImage();
    QCOMPARE(drawn.pixelColor(2, 2), drawn.pixelColor(drawn.width() / 2, drawn.height() / 2));
  }
};

}  // namespace pwx::apptest

QTEST_MAIN(pwx::apptest::MainWindowTest)
#include "MainWindowTest.moc"
