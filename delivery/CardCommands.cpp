#include "delivery/CardCommands.h"

#include <algorithm>

#include "common/EditorError.h"
#include "common/MessageText.h"
#include "delivery/CardDeploy.h"
#include "delivery/FolderProject.h"
#include "delivery/ProgressPrinter.h"

namespace pwx {

namespace {

void PrintPlan(const DeployPlan& plan, bool deleteStale, std::ostream& out) {
  out << "Project: " << plan.ProjectFolder << "\n";
  out << "Card: " << plan.Destination << "\n";
  out << "Plan: " << plan.FilesToWrite() << " files to write (" << SizeText(plan.BytesToWrite())
      << "), " << plan.FilesUpToDate() << " up to date\n";
  if (!plan.Stale.empty()) {
    std::vector<std::string> stale;
    for (const auto& clip : plan.Stale) stale.push_back(clip.Name);
    out << "Stale clips on the card: " << JoinedWithCommas(stale)
        << (deleteStale ? " (deleted after the copy)\n" : " (kept; --delete-stale deletes them)\n");
  }
  out << "Room: " << SizeText(plan.NeededBytes) << " needed, " << SizeText(plan.FreeBytes)
      << " free\n";
}

// The plan, or nothing when the folders cannot be used (said on `err`).
std::optional<DeployPlan> MakePlan(const CardCommandRequest& request, FileHashCache* cache,
                                   std::ostream& out, std::ostream& err) {
  const auto project = OpenFolderProject(request.Folder, request.StartFolder, err);
  if (!project) return std::nullopt;
  ProgressPrinter progress(out, request.Terminal);
  PlanOptions options;
  options.Cache = cache;
  if (request.Terminal) {
    options.Progress = [&](std::uint64_t done, std::uint64_t total) {
      progress.Show("Comparing with the card", done, total);
    };
  }
  try {
    return PlanDeploy(*project, request.Destination, options);
  } catch (const EditorError& error) {
    progress.Clear();
    err << error.what() << "\n";
    return std::nullopt;
  }
}

}  // namespace

CommandExit DeployCommand(const CardCommandRequest& request, std::ostream& out, std::ostream& err) {
  FileHashCache cache(request.HashStore);
  const auto plan = MakePlan(request, &cache, out, err);
  if (!plan) return CommandExit::CannotRun;
  PrintPlan(*plan, request.DeleteStale, out);
  if (plan->Refusal) {
    err << *plan->Refusal << "\n";
    return CommandExit::Failed;
  }
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
    // Every file is written first, then every file read back: the second half of the bytes.
    options.Progress = [&](std::uint64_t done, std::uint64_t total, const std::string& file) {
      progress.Show((done > total / 2 ? "Verifying " : "Writing ") + file, done, total);
    };
    result = DeployToCard(*plan, options);
  }
  cache.Save();
  if (!result.Deleted.empty())
    out << "Deleted stale clips: " << JoinedWithCommas(result.Deleted) << "\n";
  if (!result.Verified() && !result.Written.empty()) {
    out << "Written whole: " << JoinedWithCommas(result.Written) << "\n";
  }
  for (const auto& failure : result.Failures) {
    err << "error: " << failure.File << ": " << failure.Reason << "\n";
  }
  out << result.Summary() << "\n";
  return result.Verified() ? CommandExit::Success : CommandExit::Failed;
}

CommandExit CompareCommand(const CardCommandRequest& request, std::ostream& out,
                           std::ostream& err) {
  const auto plan = MakePlan(request, nullptr, out, err);  // every byte is read
  if (!plan) return CommandExit::CannotRun;
  const auto comparison = CompareWithCard(*plan);
  for (const auto& item : comparison) {
    std::string state = CardStateText(item.State);
    state.resize(16, ' ');
    out << state << " " << item.Name << "\n";
  }
  for (const auto& name : plan->MissingInProject) {
    err << "error: the project folder lacks " << name << "\n";
  }
  out << ComparisonSummary(comparison) << "\n";
  return CardHoldsProject(*plan, comparison) ? CommandExit::Success : CommandExit::Failed;
}

}  // namespace pwx
