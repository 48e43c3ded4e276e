#pragma once

#include <atomic>
#include <ostream>
#include <string>

#include "commands/CommandExit.h"
#include "commands/CommandTable.h"
#include "commands/ProgressPrinter.h"

namespace pwx {

// What names standard output in place of a file.
inline constexpr const char* kStandardStream = "-";

struct ReportRequest {
  std::string Folder;  // the project folder
  std::string StartFolder;
  std::string Pdf;  // the PDF to write, or "-" for standard output
  std::string Csv;  // the alarm table to write as well, "-" for standard output, or empty
  bool OutIsTerminal = false;
  ProgressPrinter::Mode Progress = ProgressPrinter::Mode::Quiet;
  const std::atomic<bool>* Cancel = nullptr;  // stops the reading of the clips
  PdfRenderer RenderPdf;
  std::string MadeAt;  // when the report is made, "2026-12-09 14:05"
};

// Makes the report of a saved project folder: the PDF and, when asked, the alarm table as
// CSV. Files that would take the place of the project's own are refused before anything is
// read, and so are both going to standard output, or either going to a terminal. The page
// is laid out whole in memory first; a file appears only when it is whole on the disk.
// "Report written to FILE" is said on `out`, or on `err` when `out` carries the alarm table,
// and only when every file asked for is written.
CommandExit ReportToFiles(const ReportRequest& request, std::ostream& out, std::ostream& err);

// The local time now as a report states it: "2026-12-09 14:05".
std::string ReportTimeNow();

}  // namespace pwx
