#include "commands/CardCommandParts.h"
#include "commands/CardCommands.h"
#include "commands/CommandPaths.h"
#include "commands/FolderProject.h"
#include "common/EditorError.h"
#include "common/FolderLock.h"
#include "common/MessageText.h"
#include "delivery/CardDeploy.h"

namespace pwx {

namespace {

std::string ListText(const std::vector<CardEntry>& entries) {
  std::vector<std::string> names;
  for (const CardEntry& entry : entries) names.push_back(entry.Name + (entry.Folder ? "/" : ""));
  return TerminalText(JoinedWithCommas(names));
}

void PrintPlan(const DeployPlan& plan, bool deleteStale, std::ostream& out) {
  out << "Project: " << TerminalText(plan.ProjectFolder) << "\n";
  out << "Card: " << TerminalText(plan.Destination) << " ("
      << TerminalText(CardFolderText(plan.Card)) << ")\n";
  out << "Plan: " << plan.FilesToWrite() << " files to write (" << SizeText(plan.BytesToWrite())
      << "), " << plan.FilesUpToDate() << " up to date\n";
  if (!plan.Stale.empty()) {
    out << "Stale clips on the card: " << ListText(plan.Stale)
        << (deleteStale ? " (deleted after the copy)\n" : " (kept; --delete-stale deletes them)\n");
  }
  if (!plan.Clutter.empty()) {
    const bool files = !plan.ClutterFiles().empty();
    out << "Left by other systems: " << ListText(plan.Clutter)
        << (!files        ? " (folders, kept)\n"
            : deleteStale ? " (its files deleted after the copy, folders kept)\n"
                          : " (kept; --delete-stale deletes its files, never a folder)\n");
  }
  if (!plan.Others.empty()) out << "Also on the card (kept): " << ListText(plan.Others) << "\n";
  if (!plan.Leftovers.empty()) {
    out << "Left by an interrupted copy (removed first): " << ListText(plan.Leftovers) << "\n";
  }
  out << "Room: " << SizeText(plan.NeededBytes) << " needed, " << SizeText(plan.FreeBytes)
      << " free\n";
}

JsonValue Names(const std::vector<std::string>& names) {
  JsonValue list = JsonValue::Array();
  for (const std::string& name : names) list.Append(name);
  return list;
}

JsonValue ResultJson(const DeployResult& result) {
  JsonValue failures = JsonValue::Array();
  for (const DeployFailure& failure : result.Failures) {
    failures.Append(JsonValue::Object()
                        .Set("file", failure.File.empty() ? JsonValue() : JsonValue(failure.File))
                        .Set("reason", failure.Reason));
  }
  return JsonValue::Object()
      .Set("succeeded", result.Succeeded())
      .Set("verified", result.Verified())
      .Set("cancelled", result.Cancelled)
      .Set("written", Names(result.Written))
      .Set("deleted", Names(result.Deleted))
      .Set("leftovers_removed", Names(result.Leftovers))
      .Set("failures", failures)
      .Set("files_on_card", result.FilesOnCard)
      .Set("bytes_on_card", result.BytesOnCard)
      .Set("files_not_read_again", result.FilesNotReadAgain)
      .Set("summary", result.Summary());
}

// The plan and what came of it, as one document; `result` is none for a dry run or a
// refused plan.
void PrintJson(const DeployPlan& plan, const CardCommandRequest& request,
               const DeployResult* result, std::ostream& out) {
  out << JsonValue::Object()
             .Set("project", plan.ProjectFolder)
             .Set("card", CardJson(plan))
             .Set("dry_run", request.DryRun)
             .Set("delete_stale", request.DeleteStale)
             .Set("plan", PlanJson(plan))
             .Set("result", result ? ResultJson(*result) : JsonValue())
             .Text()
      << "\n";
}

// Copies the plan, showing which file is written and which read back.
DeployResult Copy(const DeployPlan& plan, const CardCommandRequest& request, FileHashCache& cache,
                  std::ostream& err) {
  ProgressPrinter progress(err, request.Progress);
  DeployOptions options;
  options.Cache = &cache;
  options.DeleteStale = request.DeleteStale;
  options.Work = {progress.Callback(), request.Cancel};
  return DeployToCard(plan, options);
}

void PrintResult(const DeployResult& result, std::ostream& out) {
  if (!result.Leftovers.empty()) {
    out << "Removed what an interrupted copy left: "
        << TerminalText(JoinedWithCommas(result.Leftovers)) << "\n";
  }
  if (!result.Deleted.empty()) {
    out << "Deleted: " << TerminalText(JoinedWithCommas(result.Deleted)) << "\n";
  }
  if (!result.Succeeded() && !result.Written.empty()) {
    out << "Written whole: " << TerminalText(JoinedWithCommas(result.Written)) << "\n";
  }
  out << TerminalText(result.Summary()) << "\n";
}

CommandExit Run(const CommandInput& input, CommandContext& context) {
  CardCommandRequest request = CardRequestOf(input, context);
  request.HashStore = HashStorePath();
  return DeployCommand(request, context.Out, context.Err);
}

}  // namespace

const CommandDefinition& DeployCommandDefinition() {
  static const CommandDefinition definition{
      "deploy",
      "Copies a project onto the player's card and verifies it",
      "Copies the player's files of the saved project in FOLDER to the card (or folder) DEST "
      "as the window's Copy to Card does: files already there with the same size and SHA-256 "
      "are skipped, each file is written under a temporary name and renamed, clips first and "
      "plist.cfg last, and every file written is read back from the card and compared. Prints "
      "the plan (the card's file system and room, the files to write, what else is on the "
      "card) and the result, such as \"Card verified: 23 files, 48.2 MB\".\n\n"
      "One copy to a card at a time: a second one waits up to five seconds for the first, "
      "then is refused. Nothing is written when the copy does not fit, the project lacks one "
      "of the player's files, or DEST is the project folder.",
      CardCommandArguments(),
      {{"delete-stale", 0, "", ValueKind::Text, false,
        "Deletes the NNN.mp3 on the card that the project does not use, and the files other "
        "systems left there (never a folder), once the copy is verified."},
       {"dry-run", 0, "", ValueKind::Text, false, "Prints the plan and writes nothing."},
       {"json", 0, "", ValueKind::Text, false,
        "Prints the plan and the result as one JSON object instead of text."}},
      {{0, "the card is verified or up to date; for a dry run, the plan was made"},
       {1,
        "the plan refused the copy, a file failed, or another copy to the card did not end "
        "in time"},
       {2, "wrong arguments, or a folder that cannot be read or used"}},
      Run,
  };
  return definition;
}

CommandExit DeployCommand(const CardCommandRequest& request, std::ostream& out, std::ostream& err) {
  const auto project = OpenFolderProject(request.Folder, request.StartFolder, err);
  if (!project) return CommandExit::CannotRun;
  if (const auto why = WhyNotADestination(ProjectFolderOf(*project), request.Destination)) {
    err << TerminalText(*why) << "\n";
    return CommandExit::CannotRun;
  }
  // One copy to a card at a time, from the plan on: a plan made while another copy writes
  // would show a card that is no longer there.
  std::optional<FolderLock> lock;
  try {
    lock.emplace(request.Destination, request.LockWait);
  } catch (const EditorError& error) {
    err << "error: " << TerminalText(error.what()) << "\n";
    return CommandExit::Failed;
  }
  FileHashCache cache(request.HashStore);
  const auto plan = MakeCardPlan(*project, request, &cache, err);
  if (!plan) {
    return request.Cancel && request.Cancel->load() ? CommandExit::Interrupted
                                                    : CommandExit::CannotRun;
  }
  if (!request.Json) PrintPlan(*plan, request.DeleteStale, out);
  if (plan->Refusal || request.DryRun) {
    if (request.Json) PrintJson(*plan, request, nullptr, out);
    if (plan->Refusal) {
      err << TerminalText(*plan->Refusal) << "\n";
      return CommandExit::Failed;
    }
  }
  if (plan->Warning) err << "warning: " << TerminalText(*plan->Warning) << "\n";
  if (request.DryRun) {
    if (!request.Json) out << "Dry run: nothing written.\n";
    return CommandExit::Success;
  }
  const DeployResult result = Copy(*plan, request, cache, err);
  cache.Save();
  if (request.Json) {
    PrintJson(*plan, request, &result, out);
  } else {
    PrintResult(result, out);
  }
  for (const auto& failure : result.Failures) {
    err << "error: "
        << TerminalText((failure.File.empty() ? "" : failure.File + ": ") + failure.Reason) << "\n";
  }
  if (result.Cancelled) {
    const std::size_t whole = result.Written.size();
    err << "Interrupted: " << whole << (whole == 1 ? " file" : " files")
        << " written whole; the card's other files are as they were.\n";
    return CommandExit::Interrupted;
  }
  return result.Succeeded() ? CommandExit::Success : CommandExit::Failed;
}

}  // namespace pwx
