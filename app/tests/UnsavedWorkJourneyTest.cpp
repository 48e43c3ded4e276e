#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include "WindowTestSupport.h"

namespace pwx::apptest {

namespace {

const QString kTitle = QStringLiteral("PWX36 Editor V1.00 (20200103)");

void Type(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

// What the start folder holds, file by file, to show that nothing was written.
std::map<QString, QByteArray> Files(const StartFolder& folder) {
  std::map<QString, QByteArray> files;
  for (const QString& name : QDir(folder.Path()).entryList(QDir::Files)) {
    QFile file(folder.Path(name));
    if (file.open(QIODevice::ReadOnly)) files[name] = file.readAll();
  }
  return files;
}

}  // namespace

// Unsaved edits through the real window: the title marks them, closing asks, and files
// dropped on the audio grid are imported.
class UnsavedWorkJourneyTest : public QObject {
  Q_OBJECT

 private slots:
  void titleMarksUnsavedEditsUntilSavedOrUndone() {
    WindowUnderTest t;
    t.WriteProject({1}, PlayListBytes());
    t.Open();
    QVERIFY(t.Show());
    t.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
    auto* repeat = t.Find<QLineEdit>("Edit2");
    QCOMPARE(t.window->windowTitle(), kTitle);
    Type(repeat, "3");
    QCOMPARE(t.window->windowTitle(), "*" + kTitle);
    Type(repeat, "1");  // undone by hand
    QCOMPARE(t.window->windowTitle(), kTitle);
    Type(repeat, "3");
    QTest::keyClick(repeat, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(t.window->windowTitle(), kTitle);
    QFile saved(t.folder.Path("plist.cfg"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(int(saved.readAll().at(96)), 3);
  }

  void closingWithUnsavedEditsAsks_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("written");
    QTest::newRow("Cancel keeps the window and the edit")
        << int(Host::SaveAnswer::Cancel) << false << false;
    QTest::newRow("Discard closes and writes nothing")
        << int(Host::SaveAnswer::Discard) << true << false;
    QTest::newRow("Save writes and closes") << int(Host::SaveAnswer::Save) << true << true;
  }

  void closingWithUnsavedEditsAsks() {
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(bool, written);
    WindowUnderTest t;
    t.WriteProject({1}, PlayListBytes());
    t.Open();
    QVERIFY(t.Show());
    Type(t.Find<QLineEdit>("Edit19"), "42");
    const auto before = Files(t.folder);
    t.host.saveAnswers.push_back(Host::SaveAnswer(answer));
    QCOMPARE(t.window->close(), closed);
    QCOMPARE(t.window->isVisible(), !closed);
    QCOMPARE(t.host.questions,
             std::vector<std::string>{"Save changes to the project before closing?"});
    QCOMPARE(Files(t.folder) != before, written);
    if (written) QCOMPARE(Files(t.folder)["rtu.cfg"], QByteArray("42,115200,N,8,1"));
    if (!closed) QCOMPARE(t.Find<QLineEdit>("Edit19")->text(), "42");
  }

  void closingWithNothingUnsavedAsksNothing() {
    WindowUnderTest t;
    t.Open();
    QVERIFY(t.Show());
    QVERIFY(t.window->close());
    QVERIFY(t.host.questions.empty());
  }

  void twoFilesDroppedOnRow5FillItAndTheNextFreeRow() {
    WindowUnderTest t;
    t.WriteProject({6}, PlayListBytes());
    t.Open();
    QVERIFY(t.Show());
    QTemporaryDir sources;
    QList<QUrl> urls;
    for (const QString& name : {QStringLiteral("Fire.mp3"), QStringLiteral("Gas leak.mp3")}) {
      QFile file(sources.filePath(name));
      QVERIFY(file.open(QIODevice::WriteOnly) && file.write(TestMp3("audio of " + name)) > 0);
      urls << QUrl::fromLocalFile(sources.filePath(name));
    }
    QMimeData files;
    files.setUrls(urls);
    auto* grid = t.Find<QTableWidget>("StringGrid1");
    const QPointF row5 = grid->visualItemRect(grid->item(5, 1)).center();
    QDragEnterEvent enter(row5.toPoint(), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(row5, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &drop);

    QCOMPARE(grid->item(5, 1)->text(), "Fire");
    QCOMPARE(grid->item(6, 1)->text(), "source6");  // occupied: passed over
    QCOMPARE(grid->item(7, 1)->text(), "Gas leak");
    QFile copy(t.folder.Path("007.mp3"));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), TestMp3(QStringLiteral("audio of Gas leak.mp3")));
    QCOMPARE(t.Find<QLabel>("StatusBar1Line")->text(), "Dropped files imported into rows 005, 007");
    QVERIFY(t.host.errorBoxes.empty());
  }

  // A WAV dropped with levelling ticked in the Loudness menu becomes a levelled MP3 copy,
  // and its row's tooltip tells its length, format and loudness.
  void droppedWaveIsConvertedAndItsRowTellsItsLoudness() {
    WindowUnderTest t;
    t.WriteProject({}, PlayListBytes());
    t.Open();
    QVERIFY(t.Show());
    t.window->widgets().LevelImports->setChecked(true);
    QCOMPARE(t.host.preferences[kLevelImportsPreference], "1");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(PWX_INTAKE_FIXTURES "/speech.wav")});
    auto* grid = t.Find<QTableWidget>("StringGrid1");
    const QPointF row2 = grid->visualItemRect(grid->item(2, 1)).center();
    QDragEnterEvent enter(row2.toPoint(), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &enter);
    QDropEvent drop(row2, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &drop);
    QCOMPARE(t.host.errorBoxes, std::vector<std::string>{});
    QCOMPARE(grid->item(2, 1)->text(), "speech");
    QCOMPARE(grid->item(2, 1)->toolTip(), "0:03.0, 44100 Hz, mono, -16.0 LUFS");
    QVERIFY(QFile::exists(t.folder.Path("002.mp3")));
  }

  // An MP3 dropped is copied at once, and its row tells its format; the loudness is measured
  // beside the window, and the tooltip shows it when it is done, with no event of the user's.
  void droppedMp3ShowsItsLoudnessOnceMeasured() {
    WindowUnderTest t;
    t.WriteProject({}, PlayListBytes());
    t.Open();
    QVERIFY(t.Show());
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(PWX_INTAKE_FIXTURES "/quiet-24k.mp3")});
    auto* grid = t.Find<QTableWidget>("StringGrid1");
    const QPointF row4 = grid->visualItemRect(grid->item(4, 1)).center();
    QDragEnterEvent enter(row4.toPoint(), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &enter);
    QDropEvent drop(row4, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &drop);
    QCOMPARE(t.host.errorBoxes, std::vector<std::string>{});
    QVERIFY(grid->item(4, 1)->toolTip().startsWith("0:03.0, 24000 Hz, mono, "));
    QTRY_VERIFY_WITH_TIMEOUT(grid->item(4, 1)->toolTip().endsWith(" LUFS"), 20000);
    QVERIFY2(grid->item(4, 1)->toolTip().contains(", -3"), qPrintable(grid->item(4, 1)->toolTip()));
  }
};

}  // namespace pwx::apptest

QTEST_MAIN(pwx::apptest::UnsavedWorkJourneyTest)
#include "UnsavedWorkJourneyTest.moc"
