// The trigger-input test: the input chosen in ComboBox74 played as the player plays it, and
// its timeline drawn in the strip beside the controls.
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

#include "app/Mp3_list.h"
#include "app/QtText.h"
#include "app/TestSheetDialog.h"
#include "app/TimelineStrip.h"
#include "delivery/SequencePlayback.h"

namespace pwx {

void PlaceTestInputBar(QWidget* client, WindowWidgets& w) {
  auto* label = new QLabel(QStringLiteral("Test input"), client);
  label->setObjectName(QStringLiteral("TestInputLabel"));
  label->setGeometry(866, 59, 60, 17);
  w.ComboBox74->setParent(client);
  w.ComboBox74->setGeometry(926, 57, 62, 21);
  w.SpeedButton3->setParent(client);
  w.SpeedButton3->setGeometry(992, 54, 26, 26);
  w.SpeedButton3->setToolTip(w.SpeedButton3->toolTip() + QStringLiteral(" (T)"));
  w.SpeedButton8->setParent(client);
  w.SpeedButton8->setGeometry(1020, 54, 26, 26);
  w.SpeedButton8->setToolTip(w.SpeedButton8->toolTip() + QStringLiteral(" (Esc)"));
  w.TestSheet->setParent(client);
  w.TestSheet->setGeometry(1050, 54, 26, 26);
  // On the first group's caption line, right of the caption, above its first row.
  w.Timeline = new TimelineStrip(w.GroupBox1);
  w.Timeline->setGeometry(299, 1, 430, 18);
  // Not the group caption's bold navy: the strip reads like the window's other texts.
  w.Timeline->setFont(client->font());
  w.Timeline->setPalette(client->palette());
  for (QWidget* shown :
       {static_cast<QWidget*>(label), static_cast<QWidget*>(w.ComboBox74),
        static_cast<QWidget*>(w.SpeedButton3), static_cast<QWidget*>(w.SpeedButton8),
        static_cast<QWidget*>(w.TestSheet), static_cast<QWidget*>(w.Timeline)}) {
    shown->show();
    shown->raise();
  }
}

struct TForm1::InputTest {
  InputTest(AudioPlayer& player, QObject* owner) : playback(player), cursorTimer(owner) {}
  SequencePlayback playback;
  QTimer cursorTimer;
  QElapsedTimer clock;  // since the segment playing started
  int clockSegment = -1;
  std::optional<ProjectSnapshot> drawnFor;  // the project the strip shows
  int drawnInput = -1;
};

void TForm1::ConnectTestInput(AudioPlayer& player) {
  inputTest_ = std::make_shared<InputTest>(player, this);
  inputTest_->cursorTimer.setInterval(40);
  connect(&inputTest_->cursorTimer, &QTimer::timeout, this, [this] { ShowTestCursor(); });
  connect(widgets_.ComboBox74, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!showing_) Run([&] { editor_.ComboBox74Change(index); });
  });
  connect(widgets_.SpeedButton3, &QToolButton::clicked, this,
          [this] { Run([&] { StartInputTest(); }); });
  connect(widgets_.SpeedButton8, &QToolButton::clicked, this, [this] {
    Run([&] {
      inputTest_->playback.Stop();
      editor_.SpeedButton8Click();
    });
  });
  auto clickOn = [this](QKeySequence keys, QToolButton* button) {
    connect(new QShortcut(keys, this), &QShortcut::activated, button, &QToolButton::click);
  };
  connect(widgets_.TestSheet, &QToolButton::clicked, this, [this] { OpenTestSheet(); });
  clickOn(QKeySequence(Qt::Key_T), widgets_.SpeedButton3);
  clickOn(QKeySequence(Qt::Key_Escape), widgets_.SpeedButton8);
  // Playing or stopping a clip of the grid takes the player over from the test.
  for (QToolButton* audition : {widgets_.SpeedButton4, widgets_.SpeedButton5}) {
    connect(audition, &QToolButton::pressed, this, [this] { inputTest_->playback.Forget(); });
  }
}

void TForm1::StartInputTest() {
  const ProjectSnapshot snapshot = editor_.Snapshot();
  const int slot = editor_.View().TestInputIndex;
  if (slot < 0) return;
  const InputSequence sequence = DrawTestInput(snapshot, slot);
  // Raises, before anything plays, why the sequence cannot play.
  inputTest_->playback.Start(sequence, snapshot.WorkDir);
  inputTest_->clockSegment = -1;
  inputTest_->cursorTimer.start();
  ShowTestCursor();
}

void TForm1::OpenTestSheet() {
  auto* sheet = new TestSheetDialog(editor_.Snapshot(), this);
  sheet->setAttribute(Qt::WA_DeleteOnClose);
  sheet->show();
  sheet->raise();
}

void TForm1::ShowTestCursor() {
  InputTest& test = *inputTest_;
  const SequencePlayback& playback = test.playback;
  if (!playback.Playing()) {
    test.cursorTimer.stop();
    widgets_.Timeline->SetCursor(std::nullopt);
    if (!playback.Failure().empty()) editor_.SetStatusText(playback.Failure());
    widgets_.StatusLine->setText(Text(editor_.StatusText()));
    return;
  }
  if (playback.Segment() != test.clockSegment) {
    test.clockSegment = playback.Segment();
    test.clock.start();
    editor_.SetStatusText(playback.StatusText());
    widgets_.StatusLine->setText(Text(editor_.StatusText()));
  }
  const SequenceSegment& segment =
      playback.Sequence().Segments[static_cast<std::size_t>(playback.Segment())];
  const double seconds = static_cast<double>(test.clock.elapsed()) / 1000.0;
  widgets_.Timeline->SetCursor(segment.Start + std::min(seconds, segment.Seconds()));
}

void TForm1::ShowTestInput() {
  InputTest& test = *inputTest_;
  if (test.playback.Playing() || !editor_.StartupDone()) return;
  const int slot = editor_.View().TestInputIndex;
  if (slot < 0) return;
  ProjectSnapshot snapshot = editor_.Snapshot();
  if (test.drawnFor && *test.drawnFor == snapshot && test.drawnInput == slot) return;
  DrawTestInput(std::move(snapshot), slot);
}

InputSequence TForm1::DrawTestInput(ProjectSnapshot snapshot, int slot) {
  ClipTimings timings(snapshot);
  InputSequence sequence = SequenceOfInput(snapshot, slot, timings);
  widgets_.Timeline->SetSequence(sequence);
  inputTest_->drawnFor = std::move(snapshot);
  inputTest_->drawnInput = slot;
  return sequence;
}

}  // namespace pwx
