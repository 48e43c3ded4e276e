#pragma once

#include <QDialog>
#include <vector>

#include "delivery/ProjectCheck.h"

class QLabel;
class QTableWidget;

namespace pwx {

// The findings of the last check: a line each with its severity icon, where it is and what
// to do, errors first. Double-clicking one about a clip or an input shows that place in the
// window. It stays open beside the window while the user mends what it lists.
class CheckResultsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CheckResultsDialog(QWidget* parent);

  // Shows these findings (in the order given) under the summary line.
  void ShowFindings(const std::vector<Finding>& findings);
  QTableWidget* List() const { return list_; }

 signals:
  void ClipChosen(int clip);
  void InputChosen(int slot);
  void CheckAgain();

 private:
  QLabel* summary_;
  QTableWidget* list_;
  std::vector<Finding> findings_;
};

}  // namespace pwx
