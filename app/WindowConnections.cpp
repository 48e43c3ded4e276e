#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QRadioButton>
#include <QShortcut>
#include <QSlider>
#include <QStringListModel>
#include <QTableWidget>
#include <QToolButton>

#include "app/AudioGridInput.h"
#include "app/Mp3_list.h"
#include "app/SlotRow.h"

// How the window's controls reach the Editor: every edit, button, key and drop goes through
// Run, which catches what the Editor raises and shows the state again.
namespace pwx {

void TForm1::ConnectTopBar() {
  connect(widgets_.SpeedButton7, &QToolButton::clicked, this,
          [this] { Run([this] { editor_.SpeedButton7Click(); }); });
  connect(widgets_.SpeedButton9, &QToolButton::clicked, this,
          [this] { Run([this] { editor_.SpeedButton9Click(); }); });
  connect(widgets_.SpeedButton1, &QToolButton::clicked, this,
          [this] { Run([this] { editor_.SpeedButton1Click(); }); });
  connect(widgets_.CheckProject, &QToolButton::clicked, this, &TForm1::CheckProject);
  connect(widgets_.MaxTrigger, &QAction::triggered, this, &TForm1::AskForMaxTrigger);
  connect(widgets_.CopyToCard, &QToolButton::clicked, this, &TForm1::CopyToCard);
  connect(widgets_.Report, &QToolButton::clicked, this, &TForm1::MakeReport);
  connect(widgets_.CompareWithCard, &QAction::triggered, this, &TForm1::CompareWithCard);
  connect(widgets_.Site, &QAction::triggered, this, &TForm1::OpenSite);
  connect(widgets_.CompareWithProject, &QAction::triggered, this, &TForm1::CompareWithProject);
}

void TForm1::ConnectSettings() {
  connect(widgets_.TrackBar1, &QSlider::valueChanged, this, [this](int position) {
    if (!showing_) Run([&] { editor_.TrackBar1Change(position); });
  });
  connect(widgets_.Edit19, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!showing_) Run([&] { editor_.SetDeviceId(text.toStdString()); });
  });
  // Typing into a field or dragging the slider is one undo step until it ends.
  connect(widgets_.Edit19, &QLineEdit::editingFinished, this, [this] { editor_.EndEdit(); });
  connect(widgets_.TrackBar1, &QSlider::sliderReleased, this, [this] { editor_.EndEdit(); });
  const std::pair<QComboBox*, void (Editor::*)(const std::string&)> settings[] = {
      {widgets_.ComboBox75, &Editor::SetBaudRate},    {widgets_.ComboBox76, &Editor::SetParity},
      {widgets_.ComboBox77, &Editor::SetDataBits},    {widgets_.ComboBox78, &Editor::SetStopBits},
      {widgets_.ComboBox1, &Editor::ComboBox1Change},
  };
  for (const auto& [selector, setter] : settings) {
    // Every change of the text counts: each key typed and each pick from the list.
    connect(selector, &QComboBox::currentTextChanged, this,
            [this, setter = setter](const QString& text) {
              if (!showing_) Run([&] { (editor_.*setter)(text.toStdString()); });
            });
    connect(selector->lineEdit(), &QLineEdit::editingFinished, this, [this] { editor_.EndEdit(); });
  }
}

void TForm1::ConnectAudio() {
  connect(widgets_.RadioButton1, &QRadioButton::toggled, this, [this](bool checked) {
    if (!showing_) Run([&] { editor_.SetPlaySource(checked); });
  });
  const std::pair<QToolButton*, void (Editor::*)()> buttons[] = {
      {widgets_.SpeedButton4, &Editor::SpeedButton4Click},
      {widgets_.SpeedButton5, &Editor::SpeedButton5Click},
      {widgets_.SpeedButton6, &Editor::SpeedButton6Click},
  };
  for (const auto& [button, handler] : buttons) {
    connect(button, &QToolButton::clicked, this,
            [this, handler = handler] { Run([&] { (editor_.*handler)(); }); });
  }

  connect(widgets_.LevelImports, &QAction::toggled, this, [this](bool checked) {
    if (!showing_) Run([&] { editor_.SetLevelImports(checked); });
  });
  connect(widgets_.LevelAllClips, &QAction::triggered, this,
          [this] { Run([&] { editor_.LevelAllClips(); }); });

  QTableWidget* grid = widgets_.StringGrid1;
  // Moving the current cell with the keys selects as a click does.
  connect(grid, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
    if (!showing_) Run([&] { editor_.StringGrid1Click(row, column); });
  });
  connect(grid, &QTableWidget::cellClicked, this, [this, grid](int row, int column) {
    // The header row and the number column are fixed: a click there selects nothing.
    const QTableWidgetItem* cell = grid->item(row, column);
    if (showing_ || !cell || !(cell->flags() & Qt::ItemIsSelectable)) return;
    Run([&] { editor_.StringGrid1Click(row, column); });
  });
  connect(grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
    if (showing_) return;
    Run([&] {
      editor_.StringGrid1Click(row, column);
      editor_.StringGrid1DblClick();
    });
  });
}

void TForm1::AttachSlotRow(SlotRow* row) {
  const int slot = row->Slot();
  for (int k = 0; k < kClipsPerSlot; ++k) {
    QComboBox* selector = row->Clips[static_cast<std::size_t>(k)];
    selector->setModel(clipChoices_);
    connect(selector, &QComboBox::currentIndexChanged, this, [this, slot, k, selector](int i) {
      if (showing_) return;
      const std::string text = i < 0 ? std::string() : selector->itemText(i).toStdString();
      Run([&] { editor_.SetClip(slot, k, text); });
    });
  }
  connect(row->Repeat, &QLineEdit::textChanged, this, [this, slot](const QString& text) {
    if (!showing_) Run([&] { editor_.SetRepeat(slot, text.toStdString()); });
  });
  connect(row->Repeat, &QLineEdit::editingFinished, this, [this] { editor_.EndEdit(); });
  connect(row->AlarmOutput, &QCheckBox::toggled, this, [this, slot](bool ticked) {
    if (!showing_) Run([&] { editor_.SetAlarmOutput(slot, ticked); });
  });
}

void TForm1::ConnectKeys() {
  auto clickOn = [this](QKeySequence keys, QToolButton* button) {
    connect(new QShortcut(keys, this), &QShortcut::activated, button, &QToolButton::click);
  };
  clickOn(QKeySequence(Qt::CTRL | Qt::Key_S), widgets_.SpeedButton9);
  clickOn(QKeySequence(Qt::CTRL | Qt::Key_O), widgets_.SpeedButton7);
  clickOn(QKeySequence(Qt::Key_F5), widgets_.CheckProject);
  new AudioGridInput(widgets_.StringGrid1,
                     {[this] { Run([this] { editor_.PlayKey(); }); },
                      [this] { Run([this] { editor_.StopKey(); }); },
                      [this] { Run([this] { editor_.DeleteKey(); }); },
                      [this] { Run([this] { editor_.ImportIntoCurrentRow(); }); },
                      [this](int row, const std::vector<std::string>& paths) {
                        Run([&] { editor_.DropFiles(row, paths); });
                      }});
}

}  // namespace pwx
