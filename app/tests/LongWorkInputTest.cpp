// The window while long work runs, with clicks and keys coming through the window system as
// a user's do: the progress dialog's Cancel button stops a conversion and the levelling of
// all clips, and no other command starts meanwhile, not even before the dialog shows.
#define QTEST_QPA_MOUSE_HANDLING  // clicks reach a window first, then its widgets

#include <QAction>
#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include "app/CheckResultsDialog.h"
#include "app/QtHost.h"
#include "app/tests/ToneWave.h"
#include "app/tests/WindowTestSupport.h"

namespace pwx::apptest {

namespace {

// The desktop's host, its long work included, with the dialogs answered by the test.
class DesktopHost : public QtHost {
 public:
  std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
    ++FoldersAsked;
    return std::nullopt;
  }
  std::optional<std::string> ChooseMp3File(const std::string&) override { return Sound; }
  bool AskYesNo(const std::string&, const std::string&) override { return true; }
  void MessageBox(const std::string& text, const std::string&) override {
    Messages.push_back(text);
  }
  void ErrorBox(const std::string& text) override { Messages.push_back(text); }
  std::string Preference(const std::string&) override { return {}; }
  void SetPreference(const std::string&, const std::string&) override {}

  int FoldersAsked = 0;
  std::string Sound;
  std::vector<std::string> Messages;
};

// Clicks the Cancel button of the progress dialog as soon as it shows.
class CancelClicker : public QObject {
 public:
  CancelClicker() {
    connect(&poll_, &QTimer::timeout, this, [this] {
      for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QProgressDialog*>(top);
        auto* button = dialog ? dialog->findChild<QPushButton*>() : nullptr;
        if (!button || !dialog->isVisible()) continue;
        poll_.stop();
        if (!QTest::qWaitForWindowExposed(dialog)) return;
        QTest::mouseClick(button, Qt::LeftButton);
        Clicked = true;
        return;
      }
    });
    poll_.start(20);
  }

  bool Clicked = false;

 private:
  QTimer poll_;
};

// A clip of about two minutes: long enough to level that Cancel finds the work under way.
QByteArray LongClip() {
  QFile fixture(QStringLiteral(PWX_CLIP_FIXTURES "/mpeg1-stereo-cbr.mp3"));
  if (!fixture.open(QIODevice::ReadOnly)) return {};
  const QByteArray frames = fixture.readAll();
  return frames.repeated(2 * 1024 * 1024 / static_cast<int>(frames.size()));
}

bool HoldsTemporary(const StartFolder& folder) {
  return !QDir(folder.Path()).entryList({"*.saving"}, QDir::Files | QDir::Hidden).isEmpty();
}

}  // namespace

class LongWorkInputTest : public QObject {
  Q_OBJECT

 private:
  StartFolder folder_;
  DesktopHost host_;
  FakePlayer player_;
  std::unique_ptr<TForm1> window_;

  void Open() {
    window_ = std::make_unique<TForm1>(host_, player_, folder_.Native());
    host_.SetWindow(window_.get());
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    window_->FormActivate();
  }
  // Double-clicks the audio grid's row 1: the import into clip 001.
  void ImportIntoClipOne() {
    QTableWidget* grid = window_->widgets().StringGrid1;
    const QPoint cell = grid->visualItemRect(grid->item(1, 1)).center();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
  }

 private slots:
  void init() {
    host_.Messages.clear();
    host_.FoldersAsked = 0;
  }
  void cleanup() { window_.reset(); }

  void cancelStopsAConversion() {
    host_.Sound = folder_.Path(QStringLiteral("long.wav")).toStdString();
    QVERIFY(folder_.Write(QStringLiteral("long.wav"), ToneWave(240)));
    Open();
    const CancelClicker clicker;
    ImportIntoClipOne();
    QVERIFY(clicker.Clicked);
    QVERIFY(!window_->editor().Project().Library.Entry(1).Occupied());
    QVERIFY(!QFile::exists(folder_.Path(QStringLiteral("001.mp3"))));
    QVERIFY(!HoldsTemporary(folder_));
  }

  void cancelStopsLevellingAllClips() {
    const QByteArray clip = LongClip();
    QVERIFY(folder_.Write(QStringLiteral("001.mp3"), clip));
    QVERIFY(folder_.Write(QStringLiteral("m3fn.txt"), NameMap({{1, folder_.Path("a.mp3")}})));
    Open();
    const CancelClicker clicker;
    window_->widgets().LevelAllClips->trigger();
    QVERIFY(clicker.Clicked);
    QVERIFY(!host_.Messages.empty());
    QVERIFY2(host_.Messages.back().starts_with("Levelling cancelled: 0 of 1 clips levelled."),
             host_.Messages.back().c_str());
    QFile copy(folder_.Path(QStringLiteral("001.mp3")));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QVERIFY(copy.readAll() == clip);
    QVERIFY(!HoldsTemporary(folder_));
  }

  // Load Project (its button and Ctrl+O) and Check Project (F5), pressed at once after the
  // work has begun, while its progress dialog has not shown yet.
  void noOtherCommandStartsDuringLongWork_data() {
    QTest::addColumn<bool>("conversion");  // else a check of the project
    QTest::newRow("conversion") << true;
    QTest::newRow("check") << false;
  }

  void noOtherCommandStartsDuringLongWork() {
    QFETCH(bool, conversion);
    QVERIFY(folder_.Write(QStringLiteral("001.mp3"), LongClip()));
    QVERIFY(folder_.Write(QStringLiteral("m3fn.txt"), NameMap({{1, folder_.Path("a.mp3")}})));
    host_.Sound = folder_.Path(QStringLiteral("long.wav")).toStdString();
    QVERIFY(folder_.Write(QStringLiteral("long.wav"), ToneWave(240)));
    Open();
    bool pressed = false;
    auto pressEverything = [&] {
      QTest::mouseClick(window_->widgets().SpeedButton7, Qt::LeftButton);
      QTest::keyClick(window_.get(), Qt::Key_O, Qt::ControlModifier);
      QTest::keyClick(window_.get(), Qt::Key_F5);
      pressed = true;
    };
    if (conversion) {
      // Once the conversion writes its clip, which it does long before the dialog shows.
      QTimer underWay;
      connect(&underWay, &QTimer::timeout, this, [&] {
        if (!HoldsTemporary(folder_)) return;
        underWay.stop();
        pressEverything();
      });
      underWay.start(5);
      const CancelClicker clicker;
      ImportIntoClipOne();
      QVERIFY(clicker.Clicked);
    } else {
      QTest::keyClick(window_.get(), Qt::Key_F5);
      pressEverything();
      QTRY_VERIFY_WITH_TIMEOUT(window_->CheckResults() && window_->CheckResults()->isVisible(),
                               60000);
    }
    QVERIFY(pressed);
    QCOMPARE(host_.FoldersAsked, 0);
    if (conversion) QVERIFY(!window_->CheckResults());
    // Once the work is over, the window takes its input again.
    QTest::mouseClick(window_->widgets().SpeedButton7, Qt::LeftButton);
    QCOMPARE(host_.FoldersAsked, 1);
  }
};

}  // namespace pwx::apptest

QTEST_MAIN(pwx::apptest::LongWorkInputTest)
#include "LongWorkInputTest.moc"
