#pragma once

#include <QDialog>

#include "delivery/AcceptanceRecord.h"
#include "project/ProjectSnapshot.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace pwx {

// The acceptance test sheet: every input of the mode with what it should play, its total
// length and alarm output, and its result as it stands; the engineer marks inputs passed or
// failed after testing them on the player, and the witness and date are given once. Saving
// records each marked input in the project folder's test record, which is never rewritten
// when it cannot be read.
class TestSheetDialog : public QDialog {
  Q_OBJECT

 public:
  TestSheetDialog(ProjectSnapshot project, QWidget* parent);

  QTableWidget* Sheet() const { return sheet_; }
  // Records the marked inputs; says what was saved, or why nothing could be.
  void Save();

  // The sheet's columns; Mark and Note are the engineer's.
  enum Column { Input, Expected, Total, AlarmOutput, State, Time, Mark, Note, Columns };

 private:
  // Reads the record again and shows every input's line, for the player's files as
  // `fingerprint` has them.
  void Load(const ProjectFingerprint& fingerprint);

  ProjectSnapshot project_;
  QLineEdit* witness_;
  QDateEdit* date_;
  QLabel* summary_;
  QLabel* problem_;
  QTableWidget* sheet_;
  QPushButton* save_;
};

}  // namespace pwx
