#pragma once

#include <QColor>
#include <QFont>
#include <QProxyStyle>
#include <QString>
#include <QStringList>

class QLabel;
class QWidget;

namespace pwx {

// The window's colours, named as the designer named them.
inline const QColor kNavy{0, 0, 128};
inline const QColor kPurple{128, 0, 128};
inline const QColor kPureBlue{0, 0, 255};
inline const QColor kRed{255, 0, 0};
inline const QColor kSilver{192, 192, 192};
inline const QColor kLightGrey{211, 211, 211};
inline const QColor kMoneyGreen{192, 220, 192};
inline const QColor kSkyBlue{166, 202, 240};

// The face colour of the window and its panels.
QColor FaceColour();

// The window's font: Tahoma, or a close sans face where Tahoma is missing, at `pixels`.
QFont BaseFont(int pixels = 11, QFont::Weight weight = QFont::Normal, bool italic = false);

// `font`, made a pixel smaller at a time (down to 8 pixels) until the widest of `texts` fits
// into `room` pixels. The fixed layout was measured with narrow faces; a wider one, such as
// plain DejaVu Sans where its condensed cut is missing, would otherwise cut short texts.
QFont FitFont(QFont font, const QStringList& texts, int room);

// A stage title: blue, bold italic, 16 pixels.
QFont StageTitleFont();

// A label at (x, y) sized to its text.
QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, const QFont& font,
                  const QColor& colour = Qt::black);

// The platform's style with a narrower drop-down button, for the Mode selector, whose
// 34 pixels would otherwise leave too little room for two digits.
class CompactComboStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                       const QWidget* widget) const override;
};

// Sets the background colour of a widget and fills it.
void FillBackground(QWidget* widget, const QColor& colour);

}  // namespace pwx
