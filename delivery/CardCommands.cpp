#include "delivery/CardCommands.h"

#include <algorithm>

#include "common/EditorError.h"
#include "common/FileSystem.h"
#include "common/FolderLock.h"
#include "common/MessageText.h"
#include "delivery/CardDeploy.h"
#include "delivery/FolderProject.h"
#include "delivery/ProgressPrinter.h"

namespace pwx {

namespace {

bool Cancelled(const CardCommandRequest& request) {
  return request.Cancel && request.Cancel->load();
}

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

// The plan, or nothing when it cannot be made (said on `err`).
std::optional<DeployPlan> MakePlan(const ProjectSnapshot& project,
                                   const CardCommandRequest& request, FileHashCache* cache,
                                   std::ostream& out, std::ostream& err) {
  ProgressPrinter progress(out, request.Terminal);
  PlanOptions options;
  options.Cache = cache;
  options.Work.Cancel = request.Cancel;
  if (request.Terminal) {
    options.Work.Progress = [&](const ProgressStep& step) {
      progress.Show(step.Text, step.Done, step.Total);
    };
  }
  try {
    return PlanDeploy(project, request.Destination, options);
  } catch (const EditorError& error) {
    progress.Clear();
    if (Cancelled(request)) {
      err << "Interrupted while comparing the project with the card; nothing was written.\n";
    } else {
      err << TerminalText(error.what()) << "\n";
    }
    return std::nullopt;
  }
}

std::string ProjectFolderOf(const ProjectSnapshot& project) {
  return WithSeparator(project.WorkDir.empty() ? "." : project.WorkDir);
}

}  // namespace

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
  const auto plan = MakePlan(*project, request, &cache, out, err);
  if (!plan) return Cancelled(request) ? CommandExit::Interrupted : CommandExit::CannotRun;
  PrintPlan(*plan, request.DeleteStale, out);
  if (plan->Refusal) {
    err << TerminalText(*plan->Refusal) << "\n";
    return CommandExit::Failed;
  }
  if (plan->Warning) err << "warning: " << TerminalText(*plan->Warning) << "\n";
  if (request.DryRun) {
    out << "Dry run: nothing written.\n";
    return CommandExit::Success;
  }
  DeployResult result;
  {
    ProgressPrinter progress(out, request.Terminal);
    DeployOptions options;
    options.Cache = &cache;
    options.DeleteStale = request.DeleteStale;
    options.Work.Cancel = request.Cancel;
    options.Work.Progress = [&](const ProgressStep& step) {
      progress.Show(step.Text, step.Done, step.Total);
    };
    result = DeployToCard(*plan, options);
  }
  cache.Save();
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
  for (const auto& failure : result.Failures) {
    err << "error: "
        << TerminalText((failure.File.empty() ? "" : failure.File + ": ") + failure.Reason) << "\n";
  }
  out << TerminalText(result.Summary()) << "\n";
  if (result.Cancelled) {
    const std::size_t whole = result.Written.size();
    err << "Interrupted: " << whole << (whole == 1 ? " file" : " files")
        << " written whole; the card's other files are as they were.\n";
    return CommandExit::Interrupted;
  }
  return result.Succeeded() ? CommandExit::Success : CommandExit::Failed;
}

CommandExit CompareCommand(const CardCommandRequest& request, std::ostream& out,
                           std::ostream& err) {
  const auto project = OpenFolderProject(request.Folder, request.StartFolder, err);
  if (!project) return CommandExit::CannotRun;
  const auto plan = MakePlan(*project, request, nullptr, out, err);  // every byte is read
  if (!plan) return Cancelled(request) ? CommandExit::Interrupted : CommandExit::CannotRun;
  const auto comparison = CompareWithCard(*plan);
  for (const auto& item : comparison) {
    std::string state = CardStateText(item.State);
    state.resize(16, ' ');
    out << state << " " << TerminalText(item.Name) << "\n";
  }
  for (const auto& name : plan->MissingInProject) {
    err << "error: the project folder lacks " << TerminalText(name) << "\n";
  }
  out << ComparisonSummary(comparison) << "\n";
  return CardHoldsProject(*plan, comparison) ? CommandExit::Success : CommandExit::Failed;
}

}  // namespace pwx
