#include "app/SlotRow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <map>
#include <vector>

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

// The palette of a row. Rows of one colour share one palette: the style caches what it paints
// by palette, so a palette of each row's own would paint and keep every selector anew.
const QPalette& RowPalette(int slot, const QPalette& inherited) {
  static std::map<QRgb, QPalette> palettes;
  const QColor colour = RowColour(slot, FaceColour());
  auto [place, added] = palettes.try_emplace(colour.rgb(), inherited);
  if (added) {
    place->second.setColor(QPalette::Window, colour);
    place->second.setColor(QPalette::WindowText, Qt::black);
  }
  return place->second;
}

// One palette object for all selectors of the same colours. The style keeps what it paints
// by the palette object, so 128 selectors painted each with its own would keep 128 pictures
// of the same thing.
const QPalette& SharedPalette(const QPalette& palette) {
  static std::vector<QPalette> palettes;
  for (const QPalette& known : palettes) {
    if (known == palette) return known;
  }
  palettes.push_back(palette);
  return palettes.back();
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
  option.palette = SharedPalette(option.palette);
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
  setPalette(RowPalette(slot, palette()));
  setAutoFillBackground(true);

  Label = new QLabel(this);
  Label->setObjectName(names.Label);
  Label->setFont(BaseFont(13, QFont::Bold));
  Label->setGeometry(4, 3, 105, 19);

  // The clip texts are "None" and three-digit numbers; every selector is alike, so the font
  // is fitted once a row. It is set only where it differs from the row's, since a font change
  // builds a selector's whole pop-up list.
  QFont clipFont;
  for (int k = 0; k < kClipsPerSlot; ++k) {
    auto* selector = new ClipSelector(this);
    selector->setObjectName(names.Clips[static_cast<std::size_t>(k)]);
    selector->setGeometry(kClipSelectorX[static_cast<std::size_t>(k)], 2, kSelectorWidth,
                          kControlHeight);
    selector->setFocusPolicy(Qt::StrongFocus);
    if (k == 0) {
      clipFont = FitFont(BaseFont(), {QStringLiteral("None"), QStringLiteral("000")},
                         selector->TextField().width());
    }
    if (clipFont != font()) selector->setFont(clipFont);
    Clips[static_cast<std::size_t>(k)] = selector;
  }

  Repeat = new QLineEdit(this);
  Repeat->setObjectName(names.Repeat);
  Repeat->setGeometry(524, 2, 25, kControlHeight);
  Repeat->setText(QStringLiteral("1"));

  AlarmOutput = new QCheckBox(QStringLiteral("Alarm Output"), this);
  AlarmOutput->setObjectName(names.AlarmOutput);
  AlarmOutput->setGeometry(605, 3, 90, 19);
  const QFont alarmFont = FitFont(BaseFont(), {AlarmOutput->text()}, TextRoom(AlarmOutput));
  if (alarmFont != font()) AlarmOutput->setFont(alarmFont);

  SetLabel(QString::fromStdString(DesignLabel(slot)));
}

const std::array<RowCaption, kClipsPerSlot + 1>& SlotRow::Captions() {
  static const std::array<RowCaption, kClipsPerSlot + 1> captions{{
      {{kClipCaptionX[0], 5, 18, 15}, QStringLiteral("#1")},
      {{kClipCaptionX[1], 5, 18, 15}, QStringLiteral("#2")},
      {{kClipCaptionX[2], 5, 18, 15}, QStringLiteral("#3")},
      {{kClipCaptionX[3], 5, 18, 15}, QStringLiteral("#4")},
      {{483, 5, 40, 15}, QStringLiteral("Repeat")},
  }};
  return captions;
}

void SlotRow::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  for (const RowCaption& caption : Captions()) {
    style()->drawItemText(&painter, caption.Place, Qt::AlignLeft | Qt::AlignVCenter, palette(),
                          isEnabled(), caption.Text, QPalette::WindowText);
  }
}

void SlotRow::SetLabel(const QString& text) {
  if (Label->text() == text) return;
  Label->setText(text);
  for (int k = 0; k < kClipsPerSlot; ++k) {
    Clips[static_cast<std::size_t>(k)]->setAccessibleName(
        QStringLiteral("%1 #%2").arg(text).arg(k + 1));
  }
  Repeat->setAccessibleName(text + QStringLiteral(" Repeat"));
  AlarmOutput->setAccessibleName(text + QStringLiteral(" Alarm Output"));
}

}  // namespace pwx
