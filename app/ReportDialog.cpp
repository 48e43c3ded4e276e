#include "app/ReportDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QSettings>

#include "app/QtHost.h"

namespace pwx {

namespace {

const QString kPdfFilter = QStringLiteral("PDF document (*.pdf)");
const QString kCsvFilter = QStringLiteral("Alarm table as CSV (*.csv)");
const QString kOpenAfterKey = QStringLiteral("report/openAfterSaving");

}  // namespace

QString DefaultReportPath(const QString& projectFolder) {
  // An empty project folder is the folder the program started in.
  const QString given = QDir::fromNativeSeparators(projectFolder);
  QDir folder(
      QDir::cleanPath(given.isEmpty() ? QDir::currentPath() : QFileInfo(given).absoluteFilePath()));
  const QString name = folder.dirName();
  if (!folder.cdUp()) return name + QStringLiteral(" report.pdf");
  return folder.filePath(name + QStringLiteral(" report.pdf"));
}

std::optional<ReportTarget> AskForReportTarget(QWidget* parent, const QString& suggested) {
  QFileDialog dialog(parent, QStringLiteral("Report"), suggested);
  dialog.setObjectName(QStringLiteral("ReportSaveDialog"));
  // The dialog of the platform cannot take the check box.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters({kPdfFilter, kCsvFilter});
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  dialog.selectFile(QFileInfo(suggested).fileName());

  QSettings settings = Preferences();
  auto* openAfter = new QCheckBox(QStringLiteral("Open after saving"), &dialog);
  openAfter->setObjectName(QStringLiteral("OpenAfterSaving"));
  openAfter->setChecked(settings.value(kOpenAfterKey, false).toBool());
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    grid->addWidget(openAfter, grid->rowCount(), 0, 1, grid->columnCount());
  }
  // The name follows the kind chosen: "x report.pdf" becomes "x report.csv" and back.
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
    const bool csv = f == kCsvFilter;
    dialog.setDefaultSuffix(csv ? QStringLiteral("csv") : QStringLiteral("pdf"));
    QString name = QFileInfo(dialog.selectedFiles().value(0)).completeBaseName();
    if (!name.isEmpty()) dialog.selectFile(name + (csv ? ".csv" : ".pdf"));
  });

  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  settings.setValue(kOpenAfterKey, openAfter->isChecked());
  ReportTarget target;
  target.Path = dialog.selectedFiles().first();
  // The name's suffix tells the kind; the filter only when the name has neither.
  const QString suffix = QFileInfo(target.Path).suffix().toLower();
  target.Csv = suffix == QLatin1String("csv") ||
               (suffix != QLatin1String("pdf") && dialog.selectedNameFilter() == kCsvFilter);
  target.OpenAfter = openAfter->isChecked();
  return target;
}

}  // namespace pwx
