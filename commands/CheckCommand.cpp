#include "commands/CheckCommand.h"

#include <algorithm>

#include "commands/CommandTable.h"
#include "commands/FolderProject.h"
#include "common/IntegerText.h"
#include "common/JsonValue.h"
#include "common/MessageText.h"
#include "delivery/ProjectCheck.h"

namespace pwx {

namespace {

JsonValue TextOrNull(const std::string& text) {
  return text.empty() ? JsonValue() : JsonValue(text);
}

void PrintJson(const std::vector<Finding>& findings, std::ostream& out) {
  JsonValue list = JsonValue::Array();
  for (const Finding& f : findings) {
    list.Append(JsonValue::Object()
                    .Set("severity", SeverityName(f.Level))
                    .Set("code", f.Code)
                    .Set("clip", f.Clip > 0 ? JsonValue(f.Clip) : JsonValue())
                    .Set("input", TextOrNull(f.Input))
                    .Set("file", TextOrNull(f.File))
                    .Set("message", f.Message));
  }
  out << list.Text() << "\n";
}

CommandExit Run(const CommandInput& input, CommandContext& context) {
  FolderCheckRequest request;
  request.Folder = input.Argument(0);
  request.StartFolder = context.StartFolder;
  request.Json = input.Has("json");
  request.Progress = ProgressPrinter::ModeFor(input.Has("quiet"), context.ErrIsTerminal);
  request.Cancel = context.Cancel;
  if (input.Has("max-trigger")) {
    const auto seconds = TryParseInt32(input.Value("max-trigger"));
    if (!seconds || *seconds <= 0) {
      context.Err << "--max-trigger takes a whole number of seconds above 0, not \""
                  << TerminalText(input.Value("max-trigger")) << "\".\n";
      return CommandExit::CannotRun;
    }
    request.MaxTriggerSeconds = *seconds;
  }
  return CheckFolderCommand(request, context.Out, context.Err);
}

}  // namespace

const CommandDefinition& CheckCommandDefinition() {
  static const CommandDefinition definition{
      "check",
      "Checks that a project will play on the player",
      "Checks that the project in FOLDER will play on the player: decodes every clip's copy "
      "and cross-checks the clips, the inputs of the current mode, the settings and the "
      "files, as the window's Check Project does. Changes no file. Prints one finding a line, "
      "\"severity: where: message\", errors first, then a summary line such as \"Check: 1 "
      "error, 2 warnings\".\n\n"
      "Without FOLDER it checks the project the window opens at start-up: the folder PRJ.cfg "
      "in the current folder names, else the current folder.",
      {{"FOLDER", ValueKind::Folder, true, "The project folder: it holds plist.cfg or m3fn.txt."}},
      {{"json", 0, "", ValueKind::Text, false,
        "Prints the findings as a JSON array of objects with severity, code, clip (a number "
        "or null), input, file (texts or null) and message."},
       {"max-trigger", 0, "SECONDS", ValueKind::Number, false,
        "Warns of an input whose one trigger plays longer than this (600 unless given)."}},
      {{0, "no errors (warnings and notes may be found)"},
       {1, "errors found"},
       {2, "wrong arguments, or a folder that cannot be read or is no project folder"}},
      Run,
  };
  return definition;
}

CommandExit CheckFolderCommand(const FolderCheckRequest& request, std::ostream& out,
                               std::ostream& err) {
  const auto project = OpenFolderProject(request.Folder, request.StartFolder, err);
  if (!project) return CommandExit::CannotRun;

  CheckOptions options;
  options.CompareWithDisk = false;  // the project is what is on disk
  options.MaxTriggerSeconds = request.MaxTriggerSeconds;
  ProgressPrinter progress(err, request.Progress);
  options.Work = {progress.Callback(), request.Cancel};
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
