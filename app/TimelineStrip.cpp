#include "app/TimelineStrip.h"

#include <QPainter>

#include "app/QtText.h"
#include "common/IntegerText.h"

namespace pwx {

namespace {

constexpr int kSummaryWidth = 170;

}  // namespace

TimelineStrip::TimelineStrip(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TimelineStrip"));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TimelineStrip::SetSequence(const InputSequence& sequence) {
  sequence_ = sequence;
  cursor_.reset();
  setToolTip(Summary());
  update();
}

void TimelineStrip::SetCursor(std::optional<double> seconds) {
  if (cursor_ == seconds) return;
  cursor_ = seconds;
  update();
}

QString TimelineStrip::Summary() const {
  if (!sequence_.Plays()) return Text("Cannot play: " + sequence_.Problems.front());
  if (sequence_.Silent()) return Text(InputShortName(sequence_.Input) + " has no clip");
  return Text(SequenceSummaryText(sequence_));
}

void TimelineStrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const bool blocks = sequence_.Plays() && !sequence_.Segments.empty() && sequence_.Total > 0;
  const int stripWidth = blocks ? width() - kSummaryWidth - 4 : 0;
  const QRect strip(0, 1, stripWidth, height() - 2);
  if (blocks) {
    const double scale = static_cast<double>(strip.width()) / sequence_.Total;
    auto x = [&](double seconds) { return strip.left() + static_cast<int>(seconds * scale); };
    QFont small = font();
    small.setPixelSize(10);
    painter.setFont(small);
    for (const SequenceSegment& s : sequence_.Segments) {
      const QRect block(x(s.Start), strip.top(), std::max(1, x(s.End) - x(s.Start)),
                        strip.height());
      const QColor base = s.Pass % 2 == 1 ? QColor(0x4a, 0x78, 0xc0) : QColor(0x3c, 0x96, 0x78);
      painter.fillRect(block, base.lighter(170));  // silence
      if (!s.Silent) {
        painter.fillRect(QRect(x(s.SoundStart), block.top(),
                               std::max(1, x(s.SoundEnd) - x(s.SoundStart)), block.height()),
                         base);
      }
      painter.setPen(QColor(0x20, 0x20, 0x20));
      painter.drawRect(block.adjusted(0, 0, -1, -1));
      painter.setPen(Qt::white);
      const QString label =
          Text("#" + std::to_string(s.Choice) + " " + ThreeDigits(s.Clip) + " " + s.Name);
      painter.drawText(block.adjusted(3, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                       painter.fontMetrics().elidedText(label, Qt::ElideRight, block.width() - 5));
    }
    if (sequence_.FirstSound) {
      painter.setPen(QPen(QColor(0xe0, 0xa0, 0x00), 2));
      painter.drawLine(x(*sequence_.FirstSound), strip.top(), x(*sequence_.FirstSound),
                       strip.bottom());
    }
    if (cursor_) {
      painter.setPen(QPen(Qt::red, 2));
      const int at = x(std::min(*cursor_, sequence_.Total));
      painter.drawLine(at, 0, at, height());
    }
  }
  // Plain text, whatever the caption line it stands on is styled with.
  QFont plain = font();
  plain.setBold(false);
  plain.setPixelSize(11);
  painter.setFont(plain);
  painter.setPen(sequence_.Plays() ? QColor(Qt::black) : QColor(Qt::red));
  const QRect text = blocks ? QRect(strip.right() + 6, 0, kSummaryWidth - 2, height()) : rect();
  painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
                   painter.fontMetrics().elidedText(Summary(), Qt::ElideRight, text.width()));
}

}  // namespace pwx
