#pragma once

#include <QString>
#include <optional>

#include "delivery/CommissioningReport.h"

namespace pwx {

// Writes the report as an A4 portrait PDF with selectable text. The file appears under its
// name only when the whole document was written; returns why it could not be written
// ("Cannot create file "<path>". <reason>"), or nothing.
std::optional<QString> WriteReportPdf(const CommissioningReport& report, const QString& path);

// The program's name and version as a report gives them: "PWX36 Editor 1.0.0".
std::string ReportProgramName();

// The local date and time as a report gives them: "2026-12-09 14:05".
std::string ReportTimeNow();

}  // namespace pwx
