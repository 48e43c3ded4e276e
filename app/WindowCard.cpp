#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <memory>

#include "app/BackgroundWork.h"
#include "app/CardDialogs.h"
#include "app/DiskService.h"
#include "app/Mp3_list.h"
#include "app/QtText.h"
#include "common/EditorError.h"
#include "common/MessageText.h"
#include "delivery/CardDeploy.h"
#include "delivery/FolderDiff.h"

// Copying the project to a player's card, and comparing a card with it, from the window: the
// work runs beside the window under a progress dialog.
namespace pwx {

namespace {

// What the copy finds before it asks: the check's findings and the plan, or why there is none.
struct Prepared {
  std::vector<Finding> Findings;
  std::optional<DeployPlan> Plan;
  std::string Failure;
  ProjectDiff Diff;  // the project and the other folder, in the player's terms
};

// Compares the project with a card or another project folder, reading every byte.
void DiffInto(Prepared& prepared, const ProjectSnapshot& snapshot, const std::string& other) {
  try {
    prepared.Diff = DiffWithFolder(snapshot, other);
  } catch (const EditorError& error) {
    prepared.Diff.Troubles.push_back(error.what());
  }
}

// Plans against the card; `cache` may be null to read every byte.
void PlanInto(Prepared& prepared, const ProjectSnapshot& snapshot, const std::string& card,
              FileHashCache* cache, const WorkControl& control) {
  PlanOptions options;
  options.Cache = cache;
  options.Work = control;
  try {
    prepared.Plan = PlanDeploy(snapshot, card, options);
  } catch (const EditorError& error) {
    prepared.Failure = error.what();
  }
}

}  // namespace

std::optional<QString> TForm1::AskForCard(const QString& title) {
  return cardChooser_ ? cardChooser_(title) : ChooseCard(this, title);
}

void TForm1::CopyToCard() {
  if (background_->Running()) return;
  bool ready = false;
  Run([&] { ready = editor_.ReadyToCopy(); });
  if (!ready) return;
  const auto card = AskForCard(QStringLiteral("Copy to Card"));
  if (!card) return;

  const ProjectSnapshot snapshot = editor_.Snapshot();
  const std::string destination = card->toStdString();
  const std::string store = FileHashStorePath();
  auto prepared = std::make_shared<Prepared>();
  background_->Start(
      QStringLiteral("Copy to Card"),
      [snapshot, destination, store, prepared](const WorkControl& control) {
        CheckOptions check;
        check.CompareWithDisk = false;  // the card gets the files on disk
        check.Work = control;
        prepared->Findings = pwx::CheckProject(snapshot, check);
        if (control.Cancelled()) return;
        FileHashCache cache(store);
        PlanInto(*prepared, snapshot, destination, &cache, control);
        cache.Save();
      },
      [this, prepared, snapshot](bool cancelled) {
        if (cancelled) {
          editor_.SetStatusText("Copy to card cancelled");
        } else if (!prepared->Plan) {
          editor_.SetStatusText(prepared->Failure);
          QMessageBox::warning(this, QStringLiteral("Copy to Card"), Text(prepared->Failure));
        } else {
          CardPlanDialog dialog(this, *prepared->Plan, prepared->Findings);
          if (planReview_ ? planReview_(dialog) : dialog.exec() == QDialog::Accepted) {
            StartCopy(snapshot, std::move(*prepared->Plan), dialog.DeleteStale());
          }
        }
        ShowState();
      });
}

DeployResult TForm1::CopyReviewedPlan(const ProjectSnapshot& snapshot, const DeployPlan& plan,
                                      PlanOptions planning, bool deleteStale,
                                      const std::string& store, const WorkControl& control) {
  FileHashCache cache(store);
  // The card may have changed while the plan was shown: it is planned again under the card's
  // lock, and copied only when it is still as the plan showed it.
  planning.Cache = &cache;
  planning.Work = control;
  DeployOptions options;
  options.DeleteStale = deleteStale;
  options.Cache = &cache;
  options.Work = control;
  DeployResult result = DeployReviewedPlan(snapshot, plan, planning, options);
  cache.Save();
  return result;
}

void TForm1::StartCopy(const ProjectSnapshot& snapshot, DeployPlan plan, bool deleteStale) {
  auto result = std::make_shared<DeployResult>();
  const std::string destination = plan.Destination;
  background_->Start(
      QStringLiteral("Copy to Card"),
      [snapshot, plan = std::move(plan), deleteStale, result,
       store = FileHashStorePath()](const WorkControl& control) {
        *result = CopyReviewedPlan(snapshot, plan, {}, deleteStale, store, control);
      },
      [this, result, destination](bool) {
        const QString summary = Text(result->Summary());
        editor_.SetStatusText(result->Summary());
        ShowState();
        if (result->Succeeded()) {
          // A card the disk service knows can be ejected from here, to be taken out safely.
          const DiskService disks;
          const auto card = disks.CardHolding(Text(destination));
          QMessageBox box(QMessageBox::Information, QStringLiteral("Copy to Card"), summary,
                          QMessageBox::Ok, this);
          QPushButton* eject =
              card ? box.addButton(QStringLiteral("Eject"), QMessageBox::ActionRole) : nullptr;
          box.exec();
          if (card && box.clickedButton() == eject) {
            if (const auto failure = disks.Eject(*card)) {
              QMessageBox::warning(this, QStringLiteral("Eject"), *failure);
            } else {
              editor_.SetStatusText(summary.toStdString() +
                                    "; the card was ejected and can be taken out");
              ShowState();
            }
          }
          return;
        }
        QString details;
        for (const auto& failure : result->Failures) {
          details += Text(failure.File + ": " + failure.Reason) + QLatin1Char('\n');
        }
        if (!result->Written.empty()) {
          details += QStringLiteral("Written whole: ");
          for (const auto& name : result->Written) details += Text(name) + QLatin1Char(' ');
        }
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Copy to Card"), summary,
                        QMessageBox::Ok, this);
        box.setDetailedText(details);
        box.exec();
      });
}

void TForm1::CompareWithCard() {
  if (background_->Running()) return;
  const auto card = AskForCard(QStringLiteral("Compare with Card"));
  if (!card) return;
  const ProjectSnapshot snapshot = editor_.Snapshot();
  const std::string destination = card->toStdString();
  auto prepared = std::make_shared<Prepared>();
  background_->Start(
      QStringLiteral("Compare with Card"),
      [snapshot, destination, prepared](const WorkControl& control) {
        PlanInto(*prepared, snapshot, destination, nullptr, control);  // every byte
        if (prepared->Plan && !control.Cancelled()) DiffInto(*prepared, snapshot, destination);
      },
      [this, prepared](bool cancelled) {
        if (cancelled) return;
        if (!prepared->Plan) {
          QMessageBox::warning(this, QStringLiteral("Compare with Card"), Text(prepared->Failure));
          return;
        }
        editor_.SetStatusText(ComparisonSummary(pwx::CompareWithCard(*prepared->Plan)));
        ShowState();
        auto* dialog = new CardCompareDialog(this, *prepared->Plan, prepared->Diff);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
      });
}

void TForm1::CompareWithProject() {
  if (background_->Running()) return;
  const QString title = QStringLiteral("Compare with Project");
  const std::optional<QString> folder =
      folderChooser_ ? folderChooser_(title) : [&]() -> std::optional<QString> {
    const QString chosen = QFileDialog::getExistingDirectory(this, title);
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
  }();
  if (!folder) return;
  const ProjectSnapshot snapshot = editor_.Snapshot();
  const std::string other = NativePath(*folder);
  auto prepared = std::make_shared<Prepared>();
  background_->Start(
      title,
      [snapshot, other, prepared](const WorkControl&) { DiffInto(*prepared, snapshot, other); },
      [this, prepared, folder = *folder](bool cancelled) {
        if (cancelled) return;
        const std::size_t count = prepared->Diff.Lines.size();
        editor_.SetStatusText(
            "Compare: " +
            (count == 0 ? std::string("no differences")
                        : std::to_string(count) + (count == 1 ? " difference" : " differences")) +
            " with " + NativePath(folder));
        ShowState();
        auto* dialog = new ProjectCompareDialog(this, folder, prepared->Diff);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
      });
}

}  // namespace pwx
