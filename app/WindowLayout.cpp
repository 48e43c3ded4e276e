#include "app/WindowLayout.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <algorithm>

#include "app/AudioGrid.h"
#include "app/SlotRow.h"
#include "app/WindowFilters.h"
#include "app/WindowStyle.h"
#include "model/Choices.h"
#include "model/ModeView.h"

namespace pwx {

namespace {

constexpr int kNoteGap = 6;  // least room between the alarm stage's title and its note

QFrame* MakePanel(QWidget* parent, const char* name, QRect geometry, const QColor& colour) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(1);
  panel->setGeometry(geometry);
  FillBackground(panel, colour);
  return panel;
}

QToolButton* MakeButton(QWidget* parent, const char* name, const QString& hint, QRect geometry,
                        QStyle::StandardPixmap icon, const QString& text = {}) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setGeometry(geometry);
  button->setIcon(parent->style()->standardIcon(icon));
  button->setToolTip(hint);
  if (text.isEmpty()) {
    button->setAccessibleName(hint);
  } else {
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  }
  return button;
}

// The hint names the keys that do the same.
void NameKeys(QToolButton* button, const QString& keys) {
  button->setToolTip(button->toolTip() + QStringLiteral(" (") + keys + QLatin1Char(')'));
}

// An editable selector whose pop-up list is built when it is first opened. Qt's own switch to
// editable builds the list at once (about a megabyte for the first selector); giving the box
// its line edit directly makes it just as editable, and the list follows on demand with the
// scroll bar an editable selector has.
class EditableSelector : public QComboBox {
 public:
  explicit EditableSelector(QWidget* parent) : QComboBox(parent) {
    setLineEdit(new QLineEdit(this));
  }

 protected:
  void showPopup() override {
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QComboBox::showPopup();
  }
};

QComboBox* MakeSettingSelector(QWidget* parent, const char* name, const QString& caption,
                               const std::vector<std::string>& choices, QRect geometry) {
  auto* selector = new EditableSelector(parent);
  selector->setObjectName(name);
  selector->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& choice : choices) selector->addItem(QString::fromStdString(choice));
  selector->setGeometry(geometry);
  selector->setAccessibleName(caption);
  return selector;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
  auto* group = new QGroupBox(caption, parent);
  group->setObjectName(name);
  group->setGeometry(geometry);
  // The caption's font and colour; the rows inside set their own.
  group->setFont(BaseFont(15, QFont::Bold));
  QPalette colours = group->palette();
  colours.setColor(QPalette::WindowText, kNavy);
  group->setPalette(colours);
  return group;
}

void BuildTopBar(QWidget* client, WindowWidgets& w) {
  w.Panel21 = MakePanel(client, "Panel21", {2, 2, 1205, 44}, kSilver);
  w.SpeedButton7 =
      MakeButton(w.Panel21, "SpeedButton7", QStringLiteral("Load project config"), {4, 4, 104, 36},
                 QStyle::SP_DialogOpenButton, QStringLiteral("Load Project"));
  w.SpeedButton9 =
      MakeButton(w.Panel21, "SpeedButton9", QStringLiteral("Save project config"),
                 {112, 4, 104, 36}, QStyle::SP_DialogSaveButton, QStringLiteral("Save Project"));
  MakeLabel(w.Panel21, QStringLiteral("Project Dir:"), 230, 15, BaseFont(11, QFont::Bold, true));
  w.Label115 = MakeLabel(w.Panel21, QString(), 306, 15, BaseFont(), kNavy);
  w.Label115->setObjectName(QStringLiteral("Label115"));
  w.Label115->setFixedSize(432, 15);
  // Its arrow lists the projects opened last.
  w.SpeedButton7->setPopupMode(QToolButton::MenuButtonPopup);
  w.RecentProjects = new QMenu(w.SpeedButton7);
  w.RecentProjects->setObjectName(QStringLiteral("RecentProjects"));
  w.SpeedButton7->setMenu(w.RecentProjects);
  // The arrow takes room from the caption: a face too wide for the rest is made smaller.
  for (QFont face = BaseFont(); w.SpeedButton7->sizeHint().width() > 104 && face.pixelSize() > 8;) {
    face.setPixelSize(face.pixelSize() - 1);
    w.SpeedButton7->setFont(face);
  }
  NameKeys(w.SpeedButton7, QStringLiteral("Ctrl+O"));
  NameKeys(w.SpeedButton9, QStringLiteral("Ctrl+S"));
  w.SpeedButton1 = MakeButton(w.Panel21, "SpeedButton1", QString(), {1097, 4, 104, 36},
                              QStyle::SP_DirOpenIcon, QStringLiteral("Open Folder"));
  w.CopyToCard =
      MakeButton(w.Panel21, "CopyToCard",
                 QStringLiteral("Copy the saved project to the player's card and verify it"),
                 {849, 4, 124, 36}, QStyle::SP_DriveFDIcon, QStringLiteral("Copy to Card"));
  w.CopyToCard->setPopupMode(QToolButton::MenuButtonPopup);
  auto* cardMenu = new QMenu(w.CopyToCard);
  w.CompareWithCard = cardMenu->addAction(QStringLiteral("Compare with Card…"));
  w.CompareWithCard->setObjectName(QStringLiteral("CompareWithCard"));
  w.Site = cardMenu->addAction(QStringLiteral("Site…"));
  w.Site->setObjectName(QStringLiteral("Site"));
  w.CompareWithProject = cardMenu->addAction(QStringLiteral("Compare with Project…"));
  w.CompareWithProject->setObjectName(QStringLiteral("CompareWithProject"));
  w.CopyToCard->setMenu(cardMenu);
  w.Report = MakeButton(
      w.Panel21, "Report", QStringLiteral("Write the commissioning report of the project as a PDF"),
      {745, 4, 100, 36}, QStyle::SP_FileDialogDetailedView, QStringLiteral("Report…"));
  w.CheckProject =
      MakeButton(w.Panel21, "CheckProject",
                 QStringLiteral("Check the project before copying it to the player"),
                 {977, 4, 116, 36}, QStyle::SP_DialogApplyButton, QStringLiteral("Check Project"));
  w.CheckProject->setPopupMode(QToolButton::MenuButtonPopup);
  auto* checkMenu = new QMenu(w.CheckProject);
  w.MaxTrigger = checkMenu->addAction(QStringLiteral("Longest trigger…"));
  w.MaxTrigger->setObjectName(QStringLiteral("MaxTrigger"));
  w.CheckProject->setMenu(checkMenu);
  for (QFont face = BaseFont(); w.CheckProject->sizeHint().width() > 116 && face.pixelSize() > 8;) {
    face.setPixelSize(face.pixelSize() - 1);
    w.CheckProject->setFont(face);
  }
}

void BuildStage1(QWidget* client, WindowWidgets& w) {
  w.Panel38 = MakePanel(client, "Panel38", {2, 49, 463, 109}, FaceColour());
  QWidget* p = w.Panel38;
  MakeLabel(p, QStringLiteral("(1)Set Modbus RTU Config & Volume"), 6, 4, StageTitleFont(),
            kPureBlue);

  MakeLabel(p, QStringLiteral("Volume"), 10, 34, BaseFont(11, QFont::Bold), kNavy);
  w.Label112 = MakeLabel(p, QStringLiteral("5"), 62, 34, BaseFont(11, QFont::Bold), kPurple);
  w.Label112->setObjectName(QStringLiteral("Label112"));
  w.Label112->setFixedSize(24, 15);
  w.TrackBar1 = new QSlider(Qt::Horizontal, p);
  w.TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
  w.TrackBar1->setRange(kMinVolume, kMaxVolume);
  w.TrackBar1->setSingleStep(1);
  w.TrackBar1->setPageStep(2);
  w.TrackBar1->setTickInterval(1);
  w.TrackBar1->setTickPosition(QSlider::TicksBothSides);
  w.TrackBar1->setValue(kDefaultVolume);
  w.TrackBar1->setToolTip(QStringLiteral("Set Output Volume"));
  w.TrackBar1->setAccessibleName(QStringLiteral("Volume"));
  w.TrackBar1->setGeometry(6, 54, 180, 40);

  MakeLabel(p, QStringLiteral("Device ID:"), 204, 34, BaseFont());
  w.Edit19 = new QLineEdit(QStringLiteral("1"), p);
  w.Edit19->setObjectName(QStringLiteral("Edit19"));
  w.Edit19->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), w.Edit19));
  w.Edit19->setAccessibleName(QStringLiteral("Device ID"));
  w.Edit19->setGeometry(264, 31, 60, 21);

  MakeLabel(p, QStringLiteral("BaudRate:"), 204, 59, BaseFont());
  w.ComboBox75 =
      MakeSettingSelector(p, "ComboBox75", "BaudRate", kBaudRateChoices, {264, 56, 72, 21});
  MakeLabel(p, QStringLiteral("Parity:"), 204, 84, BaseFont());
  w.ComboBox76 = MakeSettingSelector(p, "ComboBox76", "Parity", kParityChoices, {264, 81, 72, 21});
  MakeLabel(p, QStringLiteral("Data bit:"), 348, 59, BaseFont());
  w.ComboBox77 =
      MakeSettingSelector(p, "ComboBox77", "Data bit", kDataBitsChoices, {402, 56, 52, 21});
  MakeLabel(p, QStringLiteral("Stop bit:"), 348, 84, BaseFont());
  w.ComboBox78 =
      MakeSettingSelector(p, "ComboBox78", "Stop bit", kStopBitsChoices, {402, 81, 52, 21});
}

void BuildStage2(QWidget* client, WindowWidgets& w) {
  w.Panel20 = MakePanel(client, "Panel20", {2, 160, 463, 452}, kLightGrey);
  QWidget* p = w.Panel20;
  MakeLabel(p, QStringLiteral("(2)Add Audio"), 6, 3, StageTitleFont(), kPureBlue);
  w.RadioButton1 = new QRadioButton(QStringLiteral("Play Source"), p);
  w.RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
  w.RadioButton1->setGeometry(8, 26, 100, 20);
  w.RadioButton1->setChecked(true);
  w.RadioButton2 = new QRadioButton(QStringLiteral("Play Project"), p);
  w.RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
  w.RadioButton2->setGeometry(112, 26, 104, 20);

  w.SpeedButton4 = MakeButton(p, "SpeedButton4", QStringLiteral("Play Audio"), {334, 21, 26, 26},
                              QStyle::SP_MediaPlay);
  w.SpeedButton5 = MakeButton(p, "SpeedButton5", QStringLiteral("Stop Audio"), {361, 21, 26, 26},
                              QStyle::SP_MediaStop);
  w.SpeedButton6 = MakeButton(p, "SpeedButton6", QStringLiteral("Delete audio file list"),
                              {426, 21, 26, 26}, QStyle::SP_TrashIcon);
  w.Loudness = MakeButton(p, "Loudness", QStringLiteral("Bring clips to one loudness"),
                          {226, 21, 100, 26}, QStyle::SP_MediaVolume, QStringLiteral("Loudness"));
  w.Loudness->setPopupMode(QToolButton::InstantPopup);
  auto* loudnessMenu = new QMenu(w.Loudness);
  w.LevelImports = loudnessMenu->addAction(QStringLiteral("Level imported clips to −16 LUFS"));
  w.LevelImports->setObjectName(QStringLiteral("LevelImports"));
  w.LevelImports->setCheckable(true);
  w.LevelAllClips = loudnessMenu->addAction(QStringLiteral("Level all clips…"));
  w.LevelAllClips->setObjectName(QStringLiteral("LevelAllClips"));
  w.Loudness->setMenu(loudnessMenu);
  NameKeys(w.SpeedButton4, QStringLiteral("Space in the list"));
  NameKeys(w.SpeedButton5, QStringLiteral("Esc in the list"));
  NameKeys(w.SpeedButton6, QStringLiteral("Del in the list, which asks first"));
  // In the room between Stop and Delete.
  w.ImportClip =
      MakeButton(p, "ImportClip", QStringLiteral("Import… a sound file into the current row"),
                 {390, 21, 32, 26}, QStyle::SP_FileDialogNewFolder);
  w.ImportClip->setAccessibleName(QStringLiteral("Import…"));
  NameKeys(w.ImportClip, QStringLiteral("Enter or double-click in the list"));
  w.StringGrid1 = MakeAudioGrid(p);
  w.StringGrid1->setGeometry(3, 50, 457, 330);
  w.StringGrid1->setAccessibleName(QStringLiteral("Audio files"));
  // Over the empty rows, below the header; clicks and drops go through to the grid.
  w.GridHint = new QLabel(w.StringGrid1->viewport());
  w.GridHint->setObjectName(QStringLiteral("GridHint"));
  w.GridHint->setWordWrap(true);
  w.GridHint->setAlignment(Qt::AlignCenter);
  w.GridHint->setAttribute(Qt::WA_TransparentForMouseEvents);
  w.GridHint->setFont(BaseFont(13, QFont::Normal, true));
  w.GridHint->setGeometry(40, 90, 370, 60);
  w.GridHint->hide();

  // The trigger-input test's controls; PlaceTestInputBar puts them in the third stage.
  w.ComboBox74 = new QComboBox(p);
  w.ComboBox74->setObjectName(QStringLiteral("ComboBox74"));
  w.ComboBox74->setToolTip(QStringLiteral("Select the Input to test"));
  w.ComboBox74->setGeometry(230, 3, 60, 21);
  w.SpeedButton3 = MakeButton(
      p, "SpeedButton3", QStringLiteral("Test the trigger Input after write setting to Device"),
      {300, 386, 26, 26}, QStyle::SP_MediaSeekForward);
  w.SpeedButton8 = MakeButton(p, "SpeedButton8", QStringLiteral("Stop Test"), {330, 386, 26, 26},
                              QStyle::SP_BrowserStop);
  w.TestSheet = MakeButton(p, "TestSheet",
                           QStringLiteral("Test sheet… to record each input's acceptance test"),
                           {360, 386, 26, 26}, QStyle::SP_FileDialogContentsView);
  w.TestSheet->setAccessibleName(QStringLiteral("Test sheet…"));
  for (QWidget* disabled :
       {static_cast<QWidget*>(w.ComboBox74), static_cast<QWidget*>(w.SpeedButton3),
        static_cast<QWidget*>(w.SpeedButton8)}) {
    disabled->setEnabled(false);
  }
}

void BuildStage3(QWidget* client, QStyle* compact, WindowWidgets& w) {
  const QLabel* title =
      MakeLabel(client, QStringLiteral("(3)Alarm Config"), 475, 55, StageTitleFont(), kPureBlue);
  QFont note = BaseFont();
  note.setUnderline(true);
  // At 612, or further right where a wide face makes the title longer.
  const int noteX = std::max(612, title->geometry().right() + 1 + kNoteGap);
  MakeLabel(client, QStringLiteral("(Add audio before use)"), noteX, 60, note, kRed);
  MakeLabel(client, QStringLiteral("Mode"), 790, 60, BaseFont(11, QFont::Bold), kNavy);
  w.ComboBox1 = new EditableSelector(client);
  w.ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  w.ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  for (int mode = 0; mode < 8; ++mode) w.ComboBox1->addItem(QString::number(mode));
  w.ComboBox1->setFont(BaseFont(11, QFont::Bold));
  w.ComboBox1->setStyle(compact);
  w.ComboBox1->setToolTip(QStringLiteral("Select Alarm Mode"));
  w.ComboBox1->setAccessibleName(QStringLiteral("Mode"));
  w.ComboBox1->setGeometry(826, 56, 34, 21);

  // Right of Mode, where the stage's title row has room.
  w.Undo =
      MakeButton(client, "Undo", QStringLiteral("Undo"), {1112, 54, 26, 26}, QStyle::SP_ArrowBack);
  w.Redo = MakeButton(client, "Redo", QStringLiteral("Redo"), {1140, 54, 26, 26},
                      QStyle::SP_ArrowForward);
  w.Help = MakeButton(client, "Help", QStringLiteral("About PWX36 Editor (F1)"), {1176, 54, 26, 26},
                      QStyle::SP_MessageBoxQuestion);

  w.GroupBox1 = MakeGroup(client, "GroupBox1", QString(), {471, 89, 737, 178});
  for (int slot = 0; slot < kFirstListSlot; ++slot) MakeSlotRow(w, slot);

  w.GroupBox2 = MakeGroup(client, "GroupBox2", QString::fromLatin1(kSecondGroupCaption),
                          {468, 269, 737, 317});
  w.ScrollBox1 = new QScrollArea(w.GroupBox2);
  w.ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
  w.ScrollBox1->setGeometry(3, 19, 731, 246);
  w.ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  w.ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // ScrollBox1MouseDown: a press on the list's own area gives it the keyboard focus.
  w.ScrollBox1->setFocusPolicy(Qt::StrongFocus);
  // The rows of the list and the spare row are built when they are first shown.
  w.ScrollContent = new QWidget;
  w.ScrollContent->setObjectName(QStringLiteral("ScrollBox1Content"));
  FillBackground(w.ScrollContent, FaceColour());
  w.ScrollContent->resize(714, 0);
  w.ScrollBox1->setWidget(w.ScrollContent);

  w.Panel3 = MakePanel(w.GroupBox2, "Panel3", {3, 267, 731, 33}, FaceColour());
}

void BuildStatusBar(QMainWindow& window, WindowWidgets& w) {
  w.StatusBar1 = window.statusBar();
  w.StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  w.StatusLine = new QLabel(w.StatusBar1);
  w.StatusLine->setObjectName(QStringLiteral("StatusBar1Line"));
  w.StatusLine->setFixedWidth(800);
  w.StatusBar1->addWidget(w.StatusLine);
  // StatusBar1DrawPanel draws nothing: a plain widget, which paints nothing of its own.
  auto* blank = new QWidget(w.StatusBar1);
  blank->setObjectName(QStringLiteral("StatusBar1Panel2"));
  blank->setFixedWidth(150);
  w.StatusBar1->addWidget(blank);
}

}  // namespace

WindowWidgets BuildWindowLayout(QMainWindow& window) {
  // The window's face is the program's: its dialogs and boxes use it too, and no control
  // lays out a text in another face before it takes the window's (a line edit does so as it
  // is made), which would load a second face for nothing.
  QApplication::setFont(BaseFont());
  window.setFont(BaseFont());
  // The window's colours are fixed light ones (the panels, the navy and blue captions): a dark
  // desktop palette would leave dark texts on dark controls among them. The style's own light
  // palette is kept whole instead, for the window and its dialogs alike.
  QApplication::setPalette(QApplication::style()->standardPalette());
  QPalette colours = QApplication::palette();
  colours.setColor(QPalette::Window, FaceColour());
  window.setPalette(colours);
  auto* client = new QWidget(&window);
  client->setObjectName(QStringLiteral("Form1Client"));
  FillBackground(client, FaceColour());
  window.setCentralWidget(client);

  WindowWidgets widgets;
  BuildTopBar(client, widgets);
  BuildStage1(client, widgets);
  BuildStage2(client, widgets);
  auto* compact = new CompactComboStyle;
  compact->setParent(&window);
  BuildStage3(client, compact, widgets);
  PlaceTestInputBar(client, widgets);
  BuildStatusBar(window, widgets);
  window.resize(kClientWidth, kClientHeight);
  return widgets;
}

SlotRow* MakeSlotRow(WindowWidgets& widgets, int slot) {
  SlotRow* row = nullptr;
  if (slot < kFirstListSlot) {
    row = new SlotRow(slot, widgets.GroupBox1);
    row->move(20, 20 + SlotRow::kHeight * slot);
  } else if (slot < kSpareSlot) {
    row = new SlotRow(slot, widgets.ScrollContent);
    row->move(19, SlotRow::kHeight * (slot - kFirstListSlot));  // in line with GroupBox1
  } else {
    row = new SlotRow(slot, widgets.Panel3);
    row->move(20, 4);
  }
  widgets.Rows[static_cast<std::size_t>(slot)] = row;
  return row;
}

void FitScrollContent(WindowWidgets& widgets) {
  int bottom = 0;
  for (int slot = kFirstListSlot; slot < kSpareSlot; ++slot) {
    const SlotRow* row = widgets.Rows[static_cast<std::size_t>(slot)];
    if (row && !row->isHidden()) bottom = std::max(bottom, row->geometry().bottom() + 1);
  }
  if (widgets.ScrollContent->height() != bottom) {
    widgets.ScrollContent->resize(widgets.ScrollContent->width(), bottom);
  }
}

}  // namespace pwx
