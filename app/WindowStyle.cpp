#include "app/WindowStyle.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStringList>
#include <QStyleOption>
#include <algorithm>

namespace pwx {

QColor FaceColour() {
  return QColor(240, 240, 240);
}

QFont BaseFont(int pixels, QFont::Weight weight, bool italic) {
  QFont font;
  // Where Tahoma is missing, the faces nearest to its width come first: the fixed layout
  // leaves little room around the texts.
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                    QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixels);
  font.setWeight(weight);
  font.setItalic(italic);
  return font;
}

QFont FitFont(QFont font, const QStringList& texts, int room) {
  constexpr int kSmallest = 8;
  auto widest = [&texts](const QFont& candidate) {
    const QFontMetrics metrics(candidate);
    int width = 0;
    for (const QString& text : texts) width = std::max(width, metrics.horizontalAdvance(text));
    return width;
  };
  while (font.pixelSize() > kSmallest && widest(font) > room) {
    font.setPixelSize(font.pixelSize() - 1);
  }
  return font;
}

QFont StageTitleFont() {
  return BaseFont(16, QFont::Bold, true);
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, const QFont& font,
                  const QColor& colour) {
  auto* label = new QLabel(text, parent);
  label->setFont(font);
  QPalette colours = label->palette();
  colours.setColor(QPalette::WindowText, colour);
  label->setPalette(colours);
  label->move(x, y);
  label->adjustSize();
  return label;
}

void FillBackground(QWidget* widget, const QColor& colour) {
  QPalette colours = widget->palette();
  colours.setColor(QPalette::Window, colour);
  widget->setPalette(colours);
  widget->setAutoFillBackground(true);
}

QRect CompactComboStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                        SubControl part, const QWidget* widget) const {
  if (control != CC_ComboBox) return QProxyStyle::subControlRect(control, option, part, widget);
  constexpr int kArrowWidth = 15;
  constexpr int kFrame = 2;
  const QRect box = option->rect;
  QRect rect;
  switch (part) {
    case SC_ComboBoxArrow:
      rect = QRect(box.right() - kArrowWidth + 1, box.top(), kArrowWidth, box.height());
      break;
    case SC_ComboBoxEditField:
      rect = QRect(box.left() + kFrame, box.top() + kFrame, box.width() - kArrowWidth - 2 * kFrame,
                   box.height() - 2 * kFrame);
      break;
    default:
      return QProxyStyle::subControlRect(control, option, part, widget);
  }
  return visualRect(option->direction, box, rect);
}

}  // namespace pwx
