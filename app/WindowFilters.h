#pragma once

#include <QObject>
#include <QWidget>

namespace pwx {

// AppMessage: installed on the application, it discards every mouse-wheel event, so the
// wheel neither scrolls the input list nor changes the selector under the pointer.
class WheelDiscarder : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// StatusBar1DrawPanel: the second status panel, whose drawing handler draws nothing.
class BlankStatusPanel : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace pwx
