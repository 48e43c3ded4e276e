#pragma once

#include <optional>
#include <string>
#include <vector>

#include "delivery/ProjectCheck.h"
#include "project/ProjectSnapshot.h"

namespace pwx {

// A report keeps the project's text form (JSON, as show --json prints it) as it was when the
// report was made, in this file in the project folder, wherever its PDF goes; the next report
// of the project lists what has changed since. Kept in the project folder, two projects whose
// reports share a folder never take each other's. The player never reads it, and a copy to a
// card never takes it.
inline constexpr const char* kReportTextFileName = "report.json";

// Where a report of the project in `projectFolder` keeps its text form.
std::string ReportTextPathIn(const std::string& projectFolder);

// What changed since the last report, in the player's terms, as diff prints it.
struct ReportChanges {
  std::vector<std::string> Lines;  // none: nothing changed
  std::string Trouble;             // why the last report's text form could not be compared
};

// The text form a report of the project keeps, and what changed since the report whose text
// form is in the project folder (nothing when there is none). The copies are known from the
// report's check (`copies`); only those it did not read are read.
struct ReportText {
  std::string Json;
  std::optional<ReportChanges> Changes;
};
ReportText ReportTextOf(const ProjectSnapshot& project, const std::vector<CopyFacts>& copies);

}  // namespace pwx
