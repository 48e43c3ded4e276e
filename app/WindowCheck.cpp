#include <QAction>
#include <QComboBox>
#include <QInputDialog>
#include <QScrollArea>
#include <QTableWidget>
#include <QToolButton>

#include "app/BackgroundWork.h"
#include "app/CheckResultsDialog.h"
#include "app/Mp3_list.h"
#include "app/SlotRow.h"

// The project check from the window: run beside it, its findings listed, and a finding
// double-clicked shown where it is.
namespace pwx {

void TForm1::CheckProject() {
  if (background_->Running()) return;
  auto findings = std::make_shared<std::vector<Finding>>();
  const ProjectSnapshot snapshot = editor_.Snapshot();
  background_->Start(
      QStringLiteral("Check Project"),
      [snapshot, findings, limit = editor_.MaxTriggerSeconds()](const WorkControl& control) {
        CheckOptions options;
        options.Work = control;
        options.MaxTriggerSeconds = limit;
        *findings = pwx::CheckProject(snapshot, options);
      },
      [this, findings](bool cancelled) {
        if (cancelled) {
          editor_.SetStatusText("Check cancelled");
        } else {
          editor_.SetStatusText(CheckSummary(*findings));
          ShowCheckResults(ErrorsFirst(std::move(*findings)));
        }
        ShowState();
      });
}

void TForm1::AskForMaxTrigger() {
  bool ok = false;
  const int seconds = QInputDialog::getInt(
      this, QStringLiteral("Check Project"),
      QStringLiteral("Warn of an input whose one trigger plays longer than (seconds):"),
      editor_.MaxTriggerSeconds(), 1, 24 * 3600, 10, &ok);
  if (ok) Run([&] { editor_.SetMaxTriggerSeconds(seconds); });
}

void TForm1::ShowCheckResults(const std::vector<Finding>& findings) {
  if (!checkResults_) {
    checkResults_ = new CheckResultsDialog(this);
    connect(checkResults_, &CheckResultsDialog::ClipChosen, this, &TForm1::ShowClip);
    connect(checkResults_, &CheckResultsDialog::InputChosen, this, &TForm1::ShowInput);
    connect(checkResults_, &CheckResultsDialog::CheckAgain, this, &TForm1::CheckProject);
  }
  checkResults_->ShowFindings(findings);
  checkResults_->show();
  checkResults_->raise();
}

void TForm1::ShowClip(int clip) {
  Run([&] { editor_.StringGrid1Click(clip, 1); });
  widgets_.StringGrid1->scrollToItem(widgets_.StringGrid1->item(clip, 1));
  activateWindow();
  widgets_.StringGrid1->setFocus();
}

void TForm1::ShowInput(int slot) {
  if (slot < 0 || slot >= kSlotCount) return;
  SlotRow* row = widgets_.Rows[static_cast<std::size_t>(slot)];
  if (!row || !row->isVisible()) return;  // the current mode does not use this input
  if (row->parentWidget() == widgets_.ScrollContent) widgets_.ScrollBox1->ensureWidgetVisible(row);
  activateWindow();
  row->Clips[0]->setFocus(Qt::OtherFocusReason);
}

}  // namespace pwx
