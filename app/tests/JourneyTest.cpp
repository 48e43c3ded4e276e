#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
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

QStringList Items(const QComboBox* selector) {
  QStringList items;
  for (int i = 0; i < selector->count(); ++i) items << selector->itemText(i);
  return items;
}

QPoint CellCentre(QTableWidget* grid, int row, int column) {
  return grid->visualItemRect(grid->item(row, column)).center();
}

}  // namespace

// Whole pieces of work through the real widgets, with the dialogs scripted.
class JourneyTest : public QObject {
  Q_OBJECT

 private slots:
  void importPlayAndRemoveAClip() {
    WindowUnderTest t;
    const QByteArray sound = TestMp3(QStringLiteral("a tune"));
    QTemporaryDir sources;
    const QString source = sources.filePath(QStringLiteral("Tone.old.MP3"));
    QFile file(source);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sound) == sound.size());
    file.close();
    t.Open();
    QVERIFY(t.Show());

    auto* grid = t.Find<QTableWidget>("StringGrid1");
    QWidget* cells = grid->viewport();
    QCOMPARE(grid->item(0, 1)->text(), "Real File Name");
    QCOMPARE(grid->item(3, 0)->text(), "003");

    // A click selects; a click on the fixed number column changes nothing.
    QTest::mouseClick(cells, Qt::LeftButton, {}, CellCentre(grid, 3, 1));
    QCOMPARE(t.Core().CurrentRow(), 3);
    QTest::mouseClick(cells, Qt::LeftButton, {}, CellCentre(grid, 5, 0));
    QCOMPARE(t.Core().CurrentRow(), 3);
    QCOMPARE(grid->currentRow(), 3);

    t.host.fileAnswers.push_back(QDir::toNativeSeparators(source).toStdString());
    QTest::mouseClick(cells, Qt::LeftButton, {}, CellCentre(grid, 3, 1));
    QTest::mouseDClick(cells, Qt::LeftButton, {}, CellCentre(grid, 3, 1));
    QVERIFY(t.host.fileAnswers.empty());
    QCOMPARE(ReadAll(t.folder.Path("003.mp3")), sound);
    QCOMPARE(grid->item(3, 1)->text(), "Tone.old");
    QCOMPARE(Items(t.Find<QComboBox>("ComboBox8")), QStringList({"None", "003"}));
    QVERIFY(QFile::exists(t.folder.Path("m3fn.txt")));

    // "Play Project" plays the project copy and says so in the status line.
    t.Find<QRadioButton>("RadioButton2")->click();
    t.Find<QToolButton>("SpeedButton4")->click();
    QCOMPARE(t.player.calls, std::vector<std::string>({"file 003.mp3", "open", "play"}));
    QCOMPARE(t.Find<QLabel>("StatusBar1Line")->text(), "Play Project: 003.mp3");
    t.Find<QToolButton>("SpeedButton5")->click();
    QCOMPARE(t.Find<QLabel>("StatusBar1Line")->text(), "Playback Stop!!");

    t.Find<QToolButton>("SpeedButton6")->click();
    QVERIFY(!QFile::exists(t.folder.Path("003.mp3")));
    QCOMPARE(grid->item(3, 1)->text(), QString());
    QCOMPARE(Items(t.Find<QComboBox>("ComboBox9")), QStringList{"None"});
    QVERIFY(t.host.errorBoxes.empty());
  }

  void loadProjectShowsTheChosenFolder() {
    WindowUnderTest t;
    QVERIFY(QDir(t.folder.Path()).mkdir("hall"));
    const QString hall = QDir::toNativeSeparators(t.folder.Path("hall"));
    t.WriteProject({1}, PlayListBytes());  // a project in the start folder itself
    t.Open();
    QCOMPARE(Items(t.Find<QComboBox>("ComboBox9")), QStringList({"None", "001"}));

    t.host.folderAnswers.push_back(hall.toStdString());
    t.Find<QToolButton>("SpeedButton7")->click();
    const QString expected = hall + QDir::separator();
    QCOMPARE(t.Find<QLabel>("Label115")->text(), expected);
    QCOMPARE(ReadAll(t.folder.Path("PRJ.cfg")), (expected + "\r\n").toUtf8());
    // An empty project folder keeps the clip choices of the project before it.
    QCOMPARE(t.Find<QTableWidget>("StringGrid1")->item(1, 1)->text(), QString());
    QCOMPARE(Items(t.Find<QComboBox>("ComboBox9")), QStringList({"None", "001"}));
    QCOMPARE(t.Find<QComboBox>("ComboBox9")->currentText(), "None");

    t.Find<QToolButton>("SpeedButton1")->click();
    QCOMPARE(t.host.explored, std::vector<std::string>{expected.toStdString()});
  }
};

}  // namespace pwx::apptest

QTEST_MAIN(pwx::apptest::JourneyTest)
#include "JourneyTest.moc"
