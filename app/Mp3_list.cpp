#include "app/Mp3_list.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSlider>
#include <QStringListModel>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "app/AudioGrid.h"
#include "app/BackgroundWork.h"
#include "app/QtText.h"
#include "app/SlotRow.h"
#include "app/WindowFilters.h"

namespace pwx {

namespace {

QStringList TextList(const std::vector<std::string>& texts) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(texts.size()));
  for (const std::string& text : texts) list.append(Text(text));
  return list;
}

void ShowText(QLabel* label, const QString& text) {
  if (label->text() != text) label->setText(text);
}

// Edit boxes keep their cursor while the user types: the text is set only when it differs.
void ShowText(QLineEdit* edit, const QString& text) {
  if (edit->text() == text) return;
  const QSignalBlocker blocker(edit);
  edit->setText(text);
}

void ShowText(QComboBox* selector, const QString& text) {
  if (selector->currentText() == text) return;
  const QSignalBlocker blocker(selector);
  selector->setEditText(text);
}

void ShowChecked(QAbstractButton* button, bool checked) {
  if (button->isChecked() == checked) return;
  const QSignalBlocker blocker(button);
  button->setChecked(checked);
}

}  // namespace

TForm1::TForm1(Host& host, AudioPlayer& player, std::string currentDir, QWidget* parent)
    : QMainWindow(parent),
      editor_(host, player, std::move(currentDir)),
      widgets_(BuildWindowLayout(*this)) {
  setObjectName(QStringLiteral("Form1"));
  qApp->installEventFilter(new WheelDiscarder(this));

  clipChoices_ = new QStringListModel(this);
  background_ = new BackgroundWork(this);
  for (SlotRow* row : widgets_.Rows) {
    if (row) AttachSlotRow(row);
  }
  ConnectTopBar();
  ConnectSettings();
  ConnectAudio();
  ConnectTestInput(player);
  ConnectKeys();
  ConnectHabits();
  // A clip's loudness is measured beside the window after its import: its tooltip shows it
  // once it is known.
  editor_.SetMeasuredListener([this] {
    QMetaObject::invokeMethod(
        this,
        [this] {
          const QScopedValueRollback guard(showing_, true);
          ShowAudioGrid();
        },
        Qt::QueuedConnection);
  });
  ShowState();
}

TForm1::~TForm1() {
  editor_.SetMeasuredListener({});
  // Work still running beside the window stops before anything it reports to goes.
  delete background_;
  // The controls go first, while the Editor that their handlers use still exists.
  showing_ = true;
  delete takeCentralWidget();
}

void TForm1::FormActivate() {
  // An error box of the start-up re-activates the window; that must not start it again.
  if (activating_) return;
  const QScopedValueRollback guard(activating_, true);
  Run([this] { editor_.FormActivate(); });
}

bool TForm1::event(QEvent* event) {
  const bool handled = QMainWindow::event(event);
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return handled;
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  // Some platforms never activate the window; the start-up still runs once it is on screen.
  QTimer::singleShot(0, this, [this] {
    if (!editor_.StartupDone()) FormActivate();
  });
}

void TForm1::closeEvent(QCloseEvent* event) {
  // Unsaved edits are not thrown away without asking; Cancel keeps the window open.
  bool mayClose = false;
  Run([&] { mayClose = editor_.CloseWindow(); });
  if (mayClose) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TForm1::ShowState() {
  const QScopedValueRollback guard(showing_, true);
  const QString title = Text(editor_.WindowTitle());
  if (windowTitle() != title) setWindowTitle(title);
  ShowSettings();
  ShowAudioGrid();
  ShowModeView();
  ShowSlots();
  ShowHabits();
  ShowTestInput();
}

void TForm1::ShowSettings() {
  const AlarmProject& project = editor_.Project();
  const ControlStates& controls = editor_.Controls();
  ShowText(widgets_.Label112, Text(editor_.VolumeLabel()));
  if (widgets_.TrackBar1->value() != project.Volume) {
    const QSignalBlocker blocker(widgets_.TrackBar1);
    widgets_.TrackBar1->setValue(project.Volume);
  }
  ShowText(widgets_.Edit19, Text(project.Settings.DeviceId));
  ShowText(widgets_.ComboBox75, Text(project.Settings.BaudRate));
  ShowText(widgets_.ComboBox76, Text(project.Settings.Parity));
  ShowText(widgets_.ComboBox77, Text(project.Settings.DataBits));
  ShowText(widgets_.ComboBox78, Text(project.Settings.StopBits));

  ShowChecked(widgets_.RadioButton1, controls.PlaySource);
  ShowChecked(widgets_.RadioButton2, !controls.PlaySource);
  widgets_.RadioButton1->setEnabled(controls.PlaySourceEnabled);
  widgets_.RadioButton2->setEnabled(controls.PlayProjectEnabled);
  widgets_.SpeedButton7->setEnabled(controls.LoadProjectEnabled);
  widgets_.SpeedButton9->setEnabled(controls.SaveProjectEnabled);
  // The test plays once a project is open.
  widgets_.SpeedButton3->setEnabled(controls.ChannelTestEnabled || editor_.StartupDone());
  widgets_.SpeedButton8->setEnabled(controls.StopTestEnabled || editor_.StartupDone());
  widgets_.ComboBox74->setEnabled(editor_.StartupDone());
  if (widgets_.LevelImports->isChecked() != editor_.LevelImports()) {
    const QSignalBlocker blocker(widgets_.LevelImports);
    widgets_.LevelImports->setChecked(editor_.LevelImports());
  }
  ShowText(widgets_.StatusLine, Text(editor_.StatusText()));
}

void TForm1::ShowAudioGrid() {
  QTableWidget* grid = widgets_.StringGrid1;
  for (int row = 0; row < kGridRows; ++row) {
    for (int column = 0; column < kGridColumns; ++column) {
      QTableWidgetItem* item = grid->item(row, column);
      const QString text = Text(editor_.GridCell(row, column));
      if (item->text() != text) item->setText(text);
      // A clip's length, format and loudness, as measured after its import.
      const QString tip = row == 0 ? QString() : Text(editor_.ClipToolTip(row));
      if (item->toolTip() != tip) item->setToolTip(tip);
    }
  }
  const int row = editor_.CurrentRow();
  const int column = editor_.CurrentColumn();
  if (grid->currentRow() != row || grid->currentColumn() != column) {
    const QSignalBlocker blocker(grid);
    grid->setCurrentCell(row, column);
  }
}

void TForm1::ShowModeView() {
  const ModeView& view = editor_.View();
  ShowText(widgets_.ComboBox1, Text(editor_.Project().Mode.Text));
  const QString caption = Text(view.FirstGroupCaption);
  if (widgets_.GroupBox1->title() != caption) widgets_.GroupBox1->setTitle(caption);
  widgets_.GroupBox2->setVisible(view.SecondGroupVisible);
  widgets_.Panel3->setVisible(view.SpareRowFrameVisible);
  // A row is built the first time the mode shows it, once the start-up has run; until then
  // the first group's rows stand for the design.
  for (int slot = 0; slot < kSlotCount; ++slot) {
    SlotRow*& row = widgets_.Rows[static_cast<std::size_t>(slot)];
    if (!row && editor_.StartupDone() && view.SlotVisible(slot)) {
      AttachSlotRow(MakeSlotRow(widgets_, slot));
    }
    if (!row) continue;
    row->setVisible(view.RowVisible[static_cast<std::size_t>(slot)]);
    row->SetLabel(Text(view.RowLabels[static_cast<std::size_t>(slot)]));
  }
  FitScrollContent(widgets_);

  QComboBox* testInput = widgets_.ComboBox74;
  const QStringList choices = TextList(view.TestInputChoices);
  const QSignalBlocker blocker(testInput);
  bool same = testInput->count() == choices.size();
  for (int i = 0; same && i < choices.size(); ++i) same = testInput->itemText(i) == choices[i];
  if (!same) {
    testInput->clear();
    testInput->addItems(choices);
  }
  testInput->setCurrentIndex(view.TestInputIndex);
}

void TForm1::RebuildClipSelectors() {
  // One model serves every selector, so the 128 lists change in a single reset. The
  // selections that the reset moves are not edits.
  const QScopedValueRollback guard(showing_, true);
  clipChoices_->setStringList(TextList(editor_.ClipChoices()));
  shownClipVersion_ = editor_.ClipChoicesVersion();
}

void TForm1::ShowSlots() {
  if (shownClipVersion_ != editor_.ClipChoicesVersion()) RebuildClipSelectors();
  const AlarmProject& project = editor_.Project();
  // The selectors list exactly the Editor's choices, so a clip's place among those is its
  // item index; empty text, a stored clip that is not offered, selects nothing.
  const std::vector<std::string>& choices = editor_.ClipChoices();
  auto indexOf = [&choices](const std::string& clip) {
    if (clip.empty()) return -1;
    const auto found = std::find(choices.begin(), choices.end(), clip);
    return found == choices.end() ? -1 : static_cast<int>(found - choices.begin());
  };
  for (SlotRow* row : widgets_.Rows) {
    if (!row) continue;
    const AlarmSlot& values = project.Slots[static_cast<std::size_t>(row->Slot())];
    for (int k = 0; k < kClipsPerSlot; ++k) {
      QComboBox* selector = row->Clips[static_cast<std::size_t>(k)];
      const int index = indexOf(values.Clips[static_cast<std::size_t>(k)]);
      if (selector->currentIndex() != index) {
        const QSignalBlocker blocker(selector);
        selector->setCurrentIndex(index);
      }
    }
    ShowText(row->Repeat, Text(values.Repeat));
    ShowChecked(row->AlarmOutput, values.AlarmOutput);
  }
}

}  // namespace pwx
