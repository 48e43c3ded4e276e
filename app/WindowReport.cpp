#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QUrl>
#include <memory>

#include "app/BackgroundWork.h"
#include "app/Mp3_list.h"
#include "app/QtText.h"
#include "app/ReportPdf.h"
#include "delivery/ReportFiles.h"

// The commissioning report from the window: the clips are read beside the window, then the
// PDF (or the alarm table as CSV) is written where the user chose.
namespace pwx {

namespace {

// Writes the chosen file; returns why it could not be written, or nothing.
std::optional<QString> WriteReport(const CommissioningReport& report, const ReportTarget& target) {
  return target.Csv ? WriteReportCsv(report, target.Path) : WriteReportPdf(report, target.Path);
}

}  // namespace

void TForm1::MakeReport() {
  if (background_->Running()) return;
  const ProjectSnapshot snapshot = editor_.Snapshot();
  const QString suggested = DefaultReportPath(QString::fromStdString(snapshot.WorkDir));
  const auto target =
      reportTarget_ ? reportTarget_(suggested) : AskForReportTarget(this, suggested);
  if (!target) return;
  // A report never takes the place of one of the project's own files.
  std::vector<std::string> outputs{NativePath(target->Path)};
  if (!target->Csv) outputs.push_back(ReportTextPathIn(snapshot.WorkDir));
  if (const auto why = RefusalOfReportFiles(outputs, snapshot.WorkDir, editor_.Dirs().Currentdir)) {
    editor_.SetStatusText("Report not written");
    QMessageBox::warning(this, QStringLiteral("Report"), QString::fromStdString(*why));
    ShowState();
    return;
  }

  ReportOptions options = ReportOptionsNow();
  options.Unsaved = editor_.HasUnsavedChanges();
  options.MaxTriggerSeconds = editor_.MaxTriggerSeconds();
  auto report = std::make_shared<CommissioningReport>();
  background_->Start(
      QStringLiteral("Report"),
      [snapshot, options, report](const WorkControl& control) mutable {
        options.Work = control;
        *report = MakeCommissioningReport(snapshot, options);
      },
      [this, report, target = *target](bool cancelled) {
        if (cancelled) {
          editor_.SetStatusText("Report cancelled");
        } else if (const auto failure = WriteReport(*report, target)) {
          editor_.SetStatusText("Report not written");
          QMessageBox::warning(this, QStringLiteral("Report"), *failure);
        } else {
          editor_.SetStatusText("Report written to " + NativePath(target.Path));
          if (target.OpenAfter) {
            const QUrl url = QUrl::fromLocalFile(target.Path);
            if (urlOpener_) {
              urlOpener_(url);
            } else {
              QDesktopServices::openUrl(url);
            }
          }
        }
        ShowState();
      });
}

}  // namespace pwx
