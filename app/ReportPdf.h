#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "delivery/CommissioningReport.h"

namespace pwx {

// A report's HTML page laid out as an A4 portrait PDF with selectable text, with that title
// and creator in its metadata.
QByteArray PdfOfHtml(const QString& html, const QString& title, const QString& creator);

// The report as that PDF.
QByteArray ReportPdfBytes(const CommissioningReport& report);

// Writes the report as that PDF. The file appears under its name only when the whole document
// is on the disk, and a link at its name is replaced, never followed (see WriteReportFile);
// returns why it could not be written ("Cannot create file "<path>". <reason>"), or nothing.
std::optional<QString> WriteReportPdf(const CommissioningReport& report, const QString& path);

// Writes the report's alarm table as CSV, the same way; returns why it could not be written
// ("Cannot create file "<path>". <reason>"), or nothing.
std::optional<QString> WriteReportCsv(const CommissioningReport& report, const QString& path);

// The options of a report made now: the local date and time ("2026-12-09 14:05") and the
// program's name and version ("PWX36 Editor 1.0.0").
ReportOptions ReportOptionsNow();

}  // namespace pwx
