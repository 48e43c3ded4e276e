#include "app/ReportPdf.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFont>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

#include "app/QtText.h"
#include "common/EditorError.h"
#include "common/FileReplacement.h"
#include "delivery/ReportHtml.h"

namespace pwx {

namespace {

QString CannotCreate(const QString& path, const QString& reason) {
  return QString::fromStdString(CannotCreateText(NativePath(path), reason.toStdString()));
}

}  // namespace

std::optional<QString> WriteReportPdf(const CommissioningReport& report, const QString& path) {
  // The PDF goes to a temporary file beside the target and is renamed over it at the end.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return CannotCreate(path, file.errorString());
  {
    QPdfWriter writer(&file);
    writer.setTitle(QStringLiteral("Commissioning report"));
    writer.setCreator(QString::fromStdString(report.Program));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));

    QTextDocument document;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(
        QStringLiteral("h1 { font-size: 16pt; } h2 { font-size: 12pt; margin-top: 14px; } th { "
                       "font-weight: bold; }"));
    document.setHtml(QString::fromStdString(CommissioningReportHtml(report)));
    // Without a page size of its own the document is laid out on the writer's pages with
    // margins of 2 cm and printed with the page numbers at the foot.
    document.print(&writer);
  }
  if (file.error() != QFileDevice::NoError) return CannotCreate(path, file.errorString());
  if (!file.commit()) return CannotCreate(path, file.errorString());
  return std::nullopt;
}

std::optional<QString> WriteReportCsv(const CommissioningReport& report, const QString& path) {
  try {
    ReplaceFile(NativePath(path), AlarmTableCsv(report));
  } catch (const EditorError& error) {
    return QString::fromStdString(error.what());
  }
  return std::nullopt;
}

ReportOptions ReportOptionsNow() {
  ReportOptions options;
  options.MadeAt =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString();
  options.Program = "PWX36 Editor";
  const QString version = QCoreApplication::applicationVersion();
  if (!version.isEmpty()) options.Program += " " + version.toStdString();
  return options;
}

}  // namespace pwx
