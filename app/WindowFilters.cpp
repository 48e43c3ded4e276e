#include "app/WindowFilters.h"

#include <QEvent>

namespace pwx {

bool WheelDiscarder::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) return true;
  return QObject::eventFilter(watched, event);
}

void BlankStatusPanel::paintEvent(QPaintEvent*) {}

}  // namespace pwx
