#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "WindowTestSupport.h"

namespace pwx::apptest {

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Pick(QComboBox* selector, const QString& text) {
  const int index = selector->findText(text);
  QVERIFY2(index >= 0, qPrintable(selector->objectName() + " lacks " + text));
  selector->setCurrentIndex(index);
}

}  // namespace

// A new project made through the real window from an empty start folder, saved, and opened
// again by a second window: every control shows what was saved, and the files hold exactly
// the bytes the player expects.
class SaveReopenJourneyTest : public QObject {
  Q_OBJECT

 private slots:
  void newProjectSurvivesSaveAndRestart() {
    WindowUnderTest t;
    QTemporaryDir sources;
    const QString fire = sources.filePath("Fire.mp3");
    const QString gas = sources.filePath("Gas leak.MP3");
    for (const QString& path : {fire, gas}) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(TestMp3("audio of " + path));
    }
    const QString hall = QDir::toNativeSeparators(t.folder.Path("Sites/Hall 1"));
    const QString work = hall + QDir::separator();

    TForm1& window = t.Open();
    QVERIFY(t.Show());

    // A folder that does not exist yet: the editor asks, creates it and opens it empty.
    t.host.folderAnswers.push_back(hall.toStdString());
    t.host.yesNoAnswers.push_back(true);
    t.Find<QToolButton>("SpeedButton7")->click();
    QCOMPARE(t.Find<QLabel>("Label115")->text(), work);

    auto* grid = t.Find<QTableWidget>("StringGrid1");
    for (auto [row, source] : {std::pair{1, fire}, std::pair{3, gas}}) {
      const QPoint cell = grid->visualItemRect(grid->item(row, 1)).center();
      t.host.fileAnswers.push_back(QDir::toNativeSeparators(source).toStdString());
      QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
      QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    }
    QCOMPARE(grid->item(3, 1)->text(), "Gas leak");

    Pick(t.Find<QComboBox>("ComboBox1"), "5");
    Pick(t.Find<QComboBox>("ComboBox9"), "001");  // bI1 #1
    Pick(t.Find<QComboBox>("ComboBox6"), "003");  // bI1 #2
    t.Find<QLineEdit>("Edit2")->clear();
    QTest::keyClicks(t.Find<QLineEdit>("Edit2"), "3");
    t.Find<QCheckBox>("CheckBox2")->click();
    Pick(t.Find<QComboBox>("ComboBox45"), "003");  // bI7 #1, in the scroll list
    t.Find<QLineEdit>("Edit11")->setText("2");
    t.Find<QCheckBox>("CheckBox11")->click();
    auto* deviceId = t.Find<QLineEdit>("Edit19");
    deviceId->selectAll();
    QTest::keyClicks(deviceId, "12");
    Pick(t.Find<QComboBox>("ComboBox75"), "9600");
    Pick(t.Find<QComboBox>("ComboBox76"), "Even");
    t.Find<QSlider>("TrackBar1")->setValue(3);
    t.Find<QToolButton>("SpeedButton9")->click();
    QVERIFY(t.host.errorBoxes.empty());
    QVERIFY(t.host.messageBoxes.empty());

    // The files, against bytes built here by hand.
    const auto playList =
        PlayListBytes().Mode(5).Saved().Slot(0, {1, 3}, 3, true).Slot(6, {3}, 2, true);
    QCOMPARE(ReadAll(work + "plist.cfg"), QByteArray::fromStdString(playList.Bytes()));
    QCOMPARE(ReadAll(work + "rtu.cfg"), QByteArray("12,9600,E,8,1"));
    QCOMPARE(ReadAll(work + "vol.cfg"), QByteArray("3"));
    QCOMPARE(ReadAll(work + "m3fn.txt"),
             NameMap({{1, QDir::toNativeSeparators(fire)}, {3, QDir::toNativeSeparators(gas)}}));
    QCOMPARE(ReadAll(work + "003.mp3"), TestMp3("audio of " + gas));
    QVERIFY(ReadAll(work + "Err1.mp3").startsWith("ID3"));
    QCOMPARE(ReadAll(t.folder.Path("PRJ.cfg")), (work + "\r\n").toUtf8());

    // Close, and start again in the same start folder.
    window.close();
    t.window.reset();
    t.Open();
    QCOMPARE(t.Find<QLabel>("Label115")->text(), work);
    QCOMPARE(t.Find<QComboBox>("ComboBox1")->currentText(), "5");
    QCOMPARE(t.Find<QComboBox>("ComboBox9")->currentText(), "001");
    QCOMPARE(t.Find<QComboBox>("ComboBox6")->currentText(), "003");
    QCOMPARE(t.Find<QComboBox>("ComboBox7")->currentText(), "None");
    QCOMPARE(t.Find<QLineEdit>("Edit2")->text(), "3");
    QVERIFY(t.Find<QCheckBox>("CheckBox2")->isChecked());
    QCOMPARE(t.Find<QComboBox>("ComboBox45")->currentText(), "003");
    QCOMPARE(t.Find<QLineEdit>("Edit11")->text(), "2");
    QVERIFY(t.Find<QCheckBox>("CheckBox11")->isChecked());
    // Slot 30 is never shown, so its row is never built; its values are the record's.
    QCOMPARE(t.Find<QComboBox>("ComboBox93"), nullptr);
    QCOMPARE(t.Core().Project().Slots[30], AlarmSlot{});
    QCOMPARE(t.Find<QLineEdit>("Edit19")->text(), "12");
    QCOMPARE(t.Find<QComboBox>("ComboBox75")->currentText(), "9600");
    QCOMPARE(t.Find<QComboBox>("ComboBox76")->currentText(), "Even");
    QCOMPARE(t.Find<QSlider>("TrackBar1")->value(), 3);
    QCOMPARE(t.Find<QLabel>("Label112")->text(), "3");
    QCOMPARE(t.Find<QTableWidget>("StringGrid1")->item(1, 1)->text(), "Fire");
    QCOMPARE(t.Find<QTableWidget>("StringGrid1")->item(3, 1)->text(), "Gas leak");
    QVERIFY(t.host.errorBoxes.empty());
  }
};

}  // namespace pwx::apptest

QTEST_MAIN(pwx::apptest::SaveReopenJourneyTest)
#include "SaveReopenJourneyTest.moc"
