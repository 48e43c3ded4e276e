#pragma once

#include <QWidget>
#include <optional>

#include "delivery/InputSequence.h"

namespace pwx {

// An input's sequence drawn as a strip: a block per segment, as wide as it plays, with its
// clip number and name, the silent parts lighter; a cursor where playback stands; the first
// sound and the total beside it. A sequence that cannot play shows why.
class TimelineStrip : public QWidget {
  Q_OBJECT

 public:
  explicit TimelineStrip(QWidget* parent = nullptr);

  void SetSequence(const InputSequence& sequence);
  const InputSequence& Sequence() const { return sequence_; }
  // Where playback stands, in seconds from the trigger; none when nothing plays.
  void SetCursor(std::optional<double> seconds);
  std::optional<double> Cursor() const { return cursor_; }
  // "first sound at 0.8 s, total 5.6 s", or why it cannot play.
  QString Summary() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  InputSequence sequence_;
  std::optional<double> cursor_;
};

}  // namespace pwx
