#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "delivery/SiteFile.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace pwx {

// A site file's players in a table, one row each, every cell editable. After each edit the
// bus rules are checked again (not the templates' clips, which "Check" of the command line
// decodes): a row with an error is marked and its findings stand in its last column, those
// of a whole bus below the table. "Copy to Card" hands the selected player to the window's
// copy; "Report…" writes the site's report; "Save" writes the site file back.
class SiteDialog : public QDialog {
  Q_OBJECT

 public:
  using CopyPlayer = std::function<void(const SiteFile& site, std::size_t player)>;
  SiteDialog(QWidget* parent, SiteFile site, CopyPlayer copy);

  const SiteFile& Site() const { return site_; }
  QTableWidget* Players() const { return players_; }
  QLabel* BusFindings() const { return busFindings_; }
  QPushButton* CopyButton() const { return copy_; }

 private:
  void Fill();
  void Recheck();
  void CellEdited(int row, int column);
  void CopySelected();
  void WriteReport();
  void Save();

  SiteFile site_;
  CopyPlayer copyPlayer_;
  QTableWidget* players_ = nullptr;
  QLabel* busFindings_ = nullptr;
  QPushButton* copy_ = nullptr;
  bool filling_ = false;
};

}  // namespace pwx
