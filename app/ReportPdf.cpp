#include "app/ReportPdf.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFont>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextDocument>

#include "app/QtText.h"
#include "common/EditorError.h"
#include "common/FileReplacement.h"
#include "delivery/ReportFiles.h"
#include "delivery/ReportHtml.h"

namespace pwx {

QByteArray PdfOfHtml(const QString& html, const QString& title, const QString& creator) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setTitle(title);
    writer.setCreator(creator);
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
    document.setHtml(html);
    // Without a page size of its own the document is laid out on the writer's pages with
    // margins of 2 cm and printed with the page numbers at the foot.
    document.print(&writer);
  }
  return bytes;
}

QByteArray ReportPdfBytes(const CommissioningReport& report) {
  return PdfOfHtml(QString::fromStdString(CommissioningReportHtml(report)),
                   QStringLiteral("Commissioning report"), QString::fromStdString(report.Program));
}

std::optional<QString> WriteReportPdf(const CommissioningReport& report, const QString& path) {
  // Laid out in memory first, so that the file is written in one piece, checked and renamed
  // into place like every project file.
  const QByteArray bytes = ReportPdfBytes(report);
  try {
    if (bytes.isEmpty()) {
      throw EditorError(CannotCreateText(NativePath(path), "The PDF could not be laid out."));
    }
    WriteReportFile(NativePath(path),
                    std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                    report.ProjectFolder);
    // The project's text form goes into the project folder, for the next report to compare with.
    WriteReportFile(ReportTextPathIn(report.ProjectFolder), report.TextForm, report.ProjectFolder);
  } catch (const EditorError& error) {
    return QString::fromStdString(error.what());
  }
  return std::nullopt;
}

std::optional<QString> WriteReportCsv(const CommissioningReport& report, const QString& path) {
  try {
    WriteReportFile(NativePath(path), AlarmTableCsv(report), report.ProjectFolder);
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
