#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace pwx {

// Where the user wants the report, and how.
struct ReportTarget {
  QString Path;
  bool Csv = false;        // the alarm table as CSV instead of the PDF
  bool OpenAfter = false;  // show the file in the desktop's viewer once written
};

// "<parent of the project folder>/<project folder name> report.pdf".
QString DefaultReportPath(const QString& projectFolder);

// Asks where to save the report: a save dialog offering the PDF and the alarm table as CSV,
// starting at `suggested`, with "Open after saving", which is remembered between runs.
std::optional<ReportTarget> AskForReportTarget(QWidget* parent, const QString& suggested);

}  // namespace pwx
