#pragma once

#include <QObject>
#include <QWidget>

namespace pwx {

// AppMessage: installed on the application, it discards the mouse-wheel events of the main
// window, so the wheel neither scrolls the input list or the audio grid nor changes the
// selector under the pointer. The window's own pop-ups (the selectors' lists) count as part
// of it; dialogs opened over it (folder and file choosers, message boxes) keep their wheel.
class WheelDiscarder : public QObject {
 public:
  // Filters for `window` and is owned by it.
  explicit WheelDiscarder(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
};

}  // namespace pwx
