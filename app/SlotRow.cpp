#include "app/SlotRow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "app/SlotControlNames.h"
#include "app/WindowStyle.h"
#include "model/SlotLabels.h"

namespace pwx {

namespace {

// Left edges of the "#n" captions and of their selectors.
constexpr std::array<int, kClipsPerSlot> kClipCaptionX{111, 199, 286, 373};
constexpr std::array<int, kClipsPerSlot> kClipSelectorX{131, 219, 306, 393};
constexpr int kSelectorWidth = 50;
constexpr int kControlHeight = 21;

// The width that the style leaves for a check box's text, right of the box.
int TextRoom(const QCheckBox* box) {
  QStyleOptionButton option;
  option.initFrom(box);
  option.text = box->text();
  return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).width();
}

QColor RowColour(int slot, const QColor& face) {
  if (slot == kSlotCount - 1) return kSkyBlue;
  const int input = slot + 1;
  return input % 2 == 0 ? kMoneyGreen : face;
}

}  // namespace

QRect ClipSelector::TextField() const {
  QStyleOptionComboBox option;
  initStyleOption(&option);
  const QRect button =
      style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
  return QRect(option.rect.left() + 3, option.rect.top(), button.left() - option.rect.left() - 3,
               option.rect.height());
}

void ClipSelector::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  const QString text = option.currentText;
  option.currentText.clear();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  painter.setPen(option.palette.color(QPalette::ButtonText));
  painter.drawText(TextField(), Qt::AlignLeft | Qt::AlignVCenter, text);
}

SlotRow::SlotRow(int slot, QWidget* parent) : QFrame(parent), slot_(slot) {
  const SlotControls& names = kSlotTable[static_cast<std::size_t>(slot)];
  setObjectName(names.Panel);
  setFrameShape(QFrame::NoFrame);
  setFont(BaseFont());
  resize(kWidth, kHeight);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, RowColour(slot, FaceColour()));
  colours.setColor(QPalette::WindowText, Qt::black);
  setPalette(colours);
  setAutoFillBackground(true);

  Label = new QLabel(this);
  Label->setObjectName(names.Label);
  Label->setFont(BaseFont(13, QFont::Bold));
  Label->setGeometry(4, 3, 105, 19);

  for (int k = 0; k < kClipsPerSlot; ++k) {
    auto* caption = new QLabel(QStringLiteral("#%1").arg(k + 1), this);
    caption->setGeometry(kClipCaptionX[k], 5, 18, 15);
    auto* selector = new ClipSelector(this);
    selector->setObjectName(names.Clips[k]);
    selector->setEditable(false);
    selector->setGeometry(kClipSelectorX[k], 2, kSelectorWidth, kControlHeight);
    selector->setFocusPolicy(Qt::StrongFocus);
    // The texts are "None" and three-digit clip numbers.
    selector->setFont(FitFont(BaseFont(), {QStringLiteral("None"), QStringLiteral("000")},
                              selector->TextField().width()));
    Clips[k] = selector;
  }

  auto* repeatCaption = new QLabel(QStringLiteral("Repeat"), this);
  repeatCaption->setGeometry(483, 5, 40, 15);
  Repeat = new QLineEdit(this);
  Repeat->setObjectName(names.Repeat);
  Repeat->setGeometry(524, 2, 25, kControlHeight);
  Repeat->setText(QStringLiteral("1"));

  AlarmOutput = new QCheckBox(QStringLiteral("Alarm Output"), this);
  AlarmOutput->setObjectName(names.AlarmOutput);
  AlarmOutput->setGeometry(605, 3, 90, 19);
  AlarmOutput->setFont(FitFont(BaseFont(), {AlarmOutput->text()}, TextRoom(AlarmOutput)));

  SetLabel(QString::fromStdString(DesignLabel(slot)));
}

void SlotRow::SetLabel(const QString& text) {
  if (Label->text() == text) return;
  Label->setText(text);
  for (int k = 0; k < kClipsPerSlot; ++k) {
    Clips[k]->setAccessibleName(QStringLiteral("%1 #%2").arg(text).arg(k + 1));
  }
  Repeat->setAccessibleName(text + QStringLiteral(" Repeat"));
  AlarmOutput->setAccessibleName(text + QStringLiteral(" Alarm Output"));
}

}  // namespace pwx
