#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "WindowTestSupport.h"
#include "app/TestSheetDialog.h"
#include "app/TimelineStrip.h"

namespace pwx::apptest {

namespace {

// Tells the window when a clip ends, as the real player does.
class EndingPlayer : public FakePlayer {
 public:
  void SetFinishedHandler(std::function<void()> handler) override { finished = std::move(handler); }
  std::function<void()> finished;
};

}  // namespace

// The test bar plays the chosen input's whole sequence through the window's player, and
// stops it; the strip shows the sequence before anything plays.
class InputTestJourneyTest : public QObject {
  Q_OBJECT

 private slots:
  void playsTheChosenInputClipAfterClipAndStops() {
    StartFolder folder;
    pwx::testing::FakeHost host{pwx::testing::FakeHost::Unscripted::Cancel};
    EndingPlayer player;
    for (const char* copy : {"001.mp3", "002.mp3"}) {
      QVERIFY(QFile::copy(QStringLiteral(PWX_CLIP_FIXTURES "/mpeg1-stereo-cbr.mp3"),
                          folder.Path(copy)));
    }
    std::map<int, QString> sources{{1, folder.Path("source1.mp3")},
                                   {2, folder.Path("source2.mp3")}};
    folder.Write(QStringLiteral("m3fn.txt"), NameMap(sources));
    folder.Write(
        QStringLiteral("plist.cfg"),
        QByteArray::fromStdString(PlayListBytes().Saved().Slot(0, {1}).Slot(1, {2, 1}, 2).Bytes()));
    TForm1 window(host, player, folder.Native());
    window.FormActivate();
    auto* strip = window.findChild<TimelineStrip*>(QStringLiteral("TimelineStrip"));
    QCOMPARE(strip->Sequence().Input, std::string("DI1"));
    QCOMPARE(strip->Summary(), QStringLiteral("first sound at 0.0 s, total 1.0 s"));

    window.findChild<QComboBox*>(QStringLiteral("ComboBox74"))->setCurrentIndex(1);
    QCOMPARE(strip->Sequence().Input, std::string("DI2"));
    window.findChild<QToolButton*>(QStringLiteral("SpeedButton3"))->click();
    for (int i = 0; i < 3 && player.finished; ++i) player.finished();
    QStringList files;
    for (const auto& call : player.calls) {
      if (call.rfind("file ", 0) == 0)
        files << QString::fromStdString(call.substr(call.size() - 7));
    }
    QCOMPARE(files, (QStringList{"002.mp3", "001.mp3", "002.mp3", "001.mp3"}));

    window.findChild<QToolButton*>(QStringLiteral("SpeedButton8"))->click();
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("StatusBar1Line"))->text(),
             QStringLiteral("Stop Test Loop playing"));
  }

  // The test sheet opened from the bar records an input marked passed in the project folder.
  void testSheetRecordsAMarkedInput() {
    StartFolder folder;
    pwx::testing::FakeHost host{pwx::testing::FakeHost::Unscripted::Cancel};
    FakePlayer player;
    QVERIFY(QFile::copy(QStringLiteral(PWX_CLIP_FIXTURES "/mpeg1-stereo-cbr.mp3"),
                        folder.Path("001.mp3")));
    folder.Write(QStringLiteral("m3fn.txt"), NameMap({{1, folder.Path("source1.mp3")}}));
    folder.Write(QStringLiteral("plist.cfg"),
                 QByteArray::fromStdString(PlayListBytes().Saved().Slot(0, {1}).Bytes()));
    TForm1 window(host, player, folder.Native());
    window.FormActivate();
    window.findChild<QToolButton*>(QStringLiteral("TestSheet"))->click();
    auto* sheet = window.findChild<TestSheetDialog*>(QStringLiteral("TestSheet"));
    QVERIFY(sheet);
    QCOMPARE(sheet->Sheet()->rowCount(), 4);
    sheet->findChild<QLineEdit*>(QStringLiteral("TestWitness"))
        ->setText(QStringLiteral("A. Witness"));
    auto* mark = static_cast<QComboBox*>(sheet->Sheet()->cellWidget(0, TestSheetDialog::Mark));
    mark->setCurrentText(QStringLiteral("passed"));
    sheet->findChild<QPushButton*>(QStringLiteral("SaveTestResults"))->click();
    QCOMPARE(sheet->Sheet()->item(0, TestSheetDialog::State)->text(), QStringLiteral("passed"));

    QFile record(folder.Path("acceptance.json"));
    QVERIFY(record.open(QIODevice::ReadOnly));
    const QByteArray json = record.readAll();
    QVERIFY2(json.contains("\"DI1\"") && json.contains("\"passed\"") && json.contains("A. Witness"),
             json.constData());
  }
};

}  // namespace pwx::apptest

QTEST_MAIN(pwx::apptest::InputTestJourneyTest)
#include "InputTestJourneyTest.moc"
