#include "delivery/CheckCommand.h"

#include <algorithm>

#include "common/JsonText.h"
#include "common/MessageText.h"
#include "delivery/FolderProject.h"
#include "delivery/ProgressPrinter.h"
#include "delivery/ProjectCheck.h"

namespace pwx {

namespace {

std::string JsonOrNull(const std::string& text) {
  return text.empty() ? "null" : JsonString(text);
}

void PrintJson(const std::vector<Finding>& findings, std::ostream& out) {
  out << "[";
  const char* separator = "\n";
  for (const Finding& f : findings) {
    out << separator << "  {\"severity\": " << JsonString(SeverityName(f.Level))
        << ", \"code\": " << JsonString(f.Code)
        << ", \"clip\": " << (f.Clip > 0 ? std::to_string(f.Clip) : "null")
        << ", \"input\": " << JsonOrNull(f.Input) << ", \"file\": " << JsonOrNull(f.File)
        << ", \"message\": " << JsonString(f.Message) << "}";
    separator = ",\n";
  }
  out << (findings.empty() ? "]\n" : "\n]\n");
}

}  // namespace

CommandExit CheckFolderCommand(const FolderCheckRequest& request, std::ostream& out,
                               std::ostream& err) {
  const auto project = OpenFolderProject(request.Folder, request.StartFolder, err);
  if (!project) return CommandExit::CannotRun;

  CheckOptions options;
  options.CompareWithDisk = false;  // the project is what is on disk
  options.Work.Cancel = request.Cancel;
  ProgressPrinter progress(err, request.ShowProgress);
  // Called under the check's own lock, one clip at a time.
  options.Work.Progress = [&progress](const ProgressStep& step) {
    progress.Rewrite(ProgressText(step));
  };
  const std::vector<Finding> findings = ErrorsFirst(CheckProject(*project, options));
  progress.Clear();
  if (request.Cancel && request.Cancel->load()) {
    // A clip stopped halfway may look broken: nothing of an unfinished check is reported.
    err << "Interrupted: the check stopped before its end and reports nothing.\n";
    return CommandExit::Interrupted;
  }
  if (request.Json) {
    PrintJson(findings, out);
  } else {
    for (const Finding& finding : findings) out << TerminalText(FindingLine(finding)) << "\n";
    out << CheckSummary(findings) << "\n";
  }
  const bool errors = std::any_of(findings.begin(), findings.end(),
                                  [](const Finding& f) { return f.Level == Severity::Error; });
  return errors ? CommandExit::Failed : CommandExit::Success;
}

}  // namespace pwx
