#include "app/WindowFilters.h"

#include <QDialog>
#include <QEvent>

namespace pwx {

WheelDiscarder::WheelDiscarder(QWidget* window) : QObject(window), window_(window) {}

bool WheelDiscarder::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
  // The owner chain runs through pop-ups too: a selector's list has the selector as parent.
  for (auto* widget = qobject_cast<QWidget*>(watched); widget; widget = widget->parentWidget()) {
    if (widget == window_) return true;
    if (qobject_cast<QDialog*>(widget)) break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace pwx
