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

void ImportByDoubleClick(WindowUnderTest& t, int row, const QString& source) {
  auto* grid = t.Find<QTableWidget>("StringGrid1");
  const QPoint cell = grid->visualItemRect(grid->item(row, 1)).center();
  t.host.fileAnswers.push_back(QDir::toNativeSeparators(source).toStdString());
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
}

}  // namespace

// A project folder left with only its name map (clips imported, window closed before the
// first save) opens with its clips, takes a fourth, saves and reopens with all four; loading
// a second project then shows that project's own bus settings and volume.
class PartialProjectJourneyTest : public QObject {
  Q_OBJECT

 private slots:
  void nameMapAloneSurvivesAndTheNextProjectBringsItsSettings() {
    WindowUnderTest t;
    QVERIFY(QDir(t.folder.Path()).mkpath("Hall"));
    QVERIFY(QDir(t.folder.Path()).mkpath("Annex"));
    std::map<int, QString> sources;
    for (int clip : {1, 2, 3, 4}) {
      sources[clip] =
          QDir::toNativeSeparators(t.folder.Path(QStringLiteral("clip%1.mp3").arg(clip)));
      QVERIFY(t.folder.Write(QStringLiteral("clip%1.mp3").arg(clip),
                             TestMp3(QStringLiteral("clip%1").arg(clip))));
    }
    const QString hall = QDir::toNativeSeparators(t.folder.Path("Hall")) + QDir::separator();
    QVERIFY(t.folder.Write("Hall/m3fn.txt",
                           NameMap({{1, sources[1]}, {2, sources[2]}, {3, sources[3]}})));
    QVERIFY(t.folder.Write("PRJ.cfg", (hall + "\r\n").toUtf8()));

    t.Open();
    QVERIFY(t.Show());
    auto* grid = t.Find<QTableWidget>("StringGrid1");
    QCOMPARE(grid->item(3, 1)->text(), "clip3");
    ImportByDoubleClick(t, 4, sources[4]);
    t.Find<QToolButton>("SpeedButton9")->click();
    QVERIFY(t.host.errorBoxes.empty());
    QCOMPARE(ReadAll(hall + "m3fn.txt"), NameMap(sources));

    t.window->close();
    t.window.reset();
    t.Open();
    grid = t.Find<QTableWidget>("StringGrid1");
    for (int clip : {1, 2, 3, 4})
      QCOMPARE(grid->item(clip, 1)->text(), QStringLiteral("clip%1").arg(clip));
    QCOMPARE(t.Find<QComboBox>("ComboBox9")->count(), 5);  // "None" and four clips

    QVERIFY(t.folder.Write("Annex/rtu.cfg", "42,9600,E,8,2"));
    QVERIFY(t.folder.Write("Annex/vol.cfg", "7"));
    t.host.folderAnswers.push_back(QDir::toNativeSeparators(t.folder.Path("Annex")).toStdString());
    t.Find<QToolButton>("SpeedButton7")->click();
    QCOMPARE(t.Find<QLineEdit>("Edit19")->text(), "42");
    QCOMPARE(t.Find<QComboBox>("ComboBox75")->currentText(), "9600");
    QCOMPARE(t.Find<QComboBox>("ComboBox76")->currentText(), "Even");
    QCOMPARE(t.Find<QComboBox>("ComboBox78")->currentText(), "2");
    QCOMPARE(t.Find<QSlider>("TrackBar1")->value(), 7);
    QCOMPARE(t.Find<QLabel>("Label112")->text(), "7");
    QVERIFY(t.host.errorBoxes.empty());
  }
};

}  // namespace pwx::apptest

QTEST_MAIN(pwx::apptest::PartialProjectJourneyTest)
#include "PartialProjectJourneyTest.moc"
