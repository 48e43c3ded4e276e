#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QTableWidget;

namespace pwx {

// The audio grid's keys and drops: Space plays the current row's clip, Escape stops, Delete
// removes the clip, Enter imports into the row, and files dropped from a file manager onto a row
// are imported there. It only forwards: what each one does is the Editor's.
class AudioGridInput : public QObject {
 public:
  struct Actions {
    std::function<void()> play;
    std::function<void()> stop;
    std::function<void()> remove;
    std::function<void()> import;
    std::function<void(int row, const std::vector<std::string>& paths)> drop;
  };

  // Watches `grid` and is owned by it.
  AudioGridInput(QTableWidget* grid, Actions actions);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTableWidget* grid_;
  QWidget* viewport_;  // kept, so that events during the grid's destruction ask it nothing
  Actions actions_;
};

}  // namespace pwx
