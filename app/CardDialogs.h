#pragma once

#include <QDialog>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "delivery/CardPlan.h"
#include "delivery/ProjectCheck.h"
#include "textform/ProjectDiff.h"

class QCheckBox;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace pwx {

// Where the user's remembered file hashes are kept: the user's cache folder.
std::string FileHashStorePath();

// Asks for the card to copy to: the mounted volumes that may be a card first (name, size,
// free space), or any folder. Gives the chosen folder, or nothing when cancelled.
std::optional<QString> ChooseCard(QWidget* parent, const QString& title);

// The plan of a copy to a card, to look over before anything is written: the files to write
// and those up to date, the stale clips with the choice to delete them, the bytes and the
// room. Errors of the project check stand at the top and make the button "Copy anyway"; a
// plan that cannot go ahead says why and offers no copy.
class CardPlanDialog : public QDialog {
  Q_OBJECT

 public:
  CardPlanDialog(QWidget* parent, const DeployPlan& plan, const std::vector<Finding>& findings);

  bool DeleteStale() const;
  QPushButton* CopyButton() const { return copy_; }
  QTableWidget* Files() const { return files_; }

 private:
  QCheckBox* deleteStale_ = nullptr;
  QPushButton* copy_ = nullptr;
  QTableWidget* files_ = nullptr;
};

// A card compared with the project: how it differs in the player's terms (the settings, the
// inputs, the clips), then one row a file with its state, and the summary.
class CardCompareDialog : public QDialog {
  Q_OBJECT

 public:
  CardCompareDialog(QWidget* parent, const DeployPlan& plan, const ProjectDiff& diff);
  QListWidget* Differences() const { return differences_; }
  QTableWidget* Files() const { return files_; }

 private:
  QListWidget* differences_ = nullptr;
  QTableWidget* files_ = nullptr;
};

// Another project folder compared with the project, in the player's terms.
class ProjectCompareDialog : public QDialog {
  Q_OBJECT

 public:
  ProjectCompareDialog(QWidget* parent, const QString& folder, const ProjectDiff& diff);
  QListWidget* Differences() const { return differences_; }

 private:
  QListWidget* differences_ = nullptr;
};

}  // namespace pwx
