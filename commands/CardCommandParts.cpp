#include "commands/CardCommandParts.h"

#include "common/EditorError.h"
#include "common/FileSystem.h"
#include "common/MessageText.h"

namespace pwx {

namespace {

JsonValue EntriesJson(const std::vector<CardEntry>& entries) {
  JsonValue list = JsonValue::Array();
  for (const CardEntry& entry : entries) {
    list.Append(JsonValue::Object()
                    .Set("name", entry.Name)
                    .Set("bytes", entry.Bytes)
                    .Set("folder", entry.Folder));
  }
  return list;
}

JsonValue TextOrNull(const std::optional<std::string>& text) {
  return text ? JsonValue(*text) : JsonValue();
}

const char* FormatName(CardFormat format) {
  switch (format) {
    case CardFormat::Fat:
      return "fat";
    case CardFormat::ExFat:
      return "exfat";
    case CardFormat::Other:
      break;
  }
  return "other";
}

}  // namespace

CardCommandRequest CardRequestOf(const CommandInput& input, const CommandContext& context) {
  CardCommandRequest request;
  request.Folder = input.Argument(0);
  request.Destination = input.Argument(1);
  request.StartFolder = context.StartFolder;
  request.DeleteStale = input.Has("delete-stale");
  request.DryRun = input.Has("dry-run");
  request.Json = input.Has("json");
  request.Progress = ProgressPrinter::ModeFor(input.Has("quiet"), context.ErrIsTerminal);
  request.Cancel = context.Cancel;
  return request;
}

const std::vector<ArgumentDefinition>& CardCommandArguments() {
  static const std::vector<ArgumentDefinition> arguments{
      {"FOLDER", ValueKind::Folder, false, "The saved project folder."},
      {"DEST", ValueKind::Folder, false,
       "The root folder of the player's card, or any other folder."},
  };
  return arguments;
}

std::string ProjectFolderOf(const ProjectSnapshot& project) {
  return WithSeparator(project.WorkDir.empty() ? "." : project.WorkDir);
}

std::optional<DeployPlan> MakeCardPlan(const ProjectSnapshot& project,
                                       const CardCommandRequest& request, FileHashCache* cache,
                                       std::ostream& err) {
  ProgressPrinter progress(err, request.Progress);
  PlanOptions options;
  options.Cache = cache;
  options.Work = {progress.Callback(), request.Cancel};
  try {
    return PlanDeploy(project, request.Destination, options);
  } catch (const EditorError& error) {
    progress.Clear();
    if (request.Cancel && request.Cancel->load()) {
      err << "Interrupted while comparing the project with the card; nothing was written.\n";
    } else {
      err << TerminalText(error.what()) << "\n";
    }
    return std::nullopt;
  }
}

JsonValue CardJson(const DeployPlan& plan) {
  const CardFolderFacts& card = plan.Card;
  return JsonValue::Object()
      .Set("folder", plan.Destination)
      .Set("file_system", FileSystemText(card))
      .Set("format", FormatName(card.Format))
      .Set("ignores_case", card.IgnoresCase)
      .Set("unit_bytes", card.UnitBytes)
      .Set("total_bytes", card.TotalBytes)
      .Set("free_bytes", card.FreeBytes);
}

JsonValue PlanJson(const DeployPlan& plan) {
  JsonValue files = JsonValue::Array();
  for (const PlayerFile& file : plan.Files) {
    files.Append(JsonValue::Object()
                     .Set("name", file.Name)
                     .Set("bytes", file.Bytes)
                     .Set("up_to_date", file.UpToDate));
  }
  JsonValue missing = JsonValue::Array();
  for (const std::string& name : plan.MissingInProject) missing.Append(name);
  return JsonValue::Object()
      .Set("files", files)
      .Set("files_to_write", plan.FilesToWrite())
      .Set("bytes_to_write", plan.BytesToWrite())
      .Set("files_up_to_date", plan.FilesUpToDate())
      .Set("stale", EntriesJson(plan.Stale))
      .Set("clutter", EntriesJson(plan.Clutter))
      .Set("others", EntriesJson(plan.Others))
      .Set("leftovers", EntriesJson(plan.Leftovers))
      .Set("missing_in_project", missing)
      .Set("needed_bytes", plan.NeededBytes)
      .Set("free_bytes", plan.FreeBytes)
      .Set("refusal", TextOrNull(plan.Refusal))
      .Set("warning", TextOrNull(plan.Warning));
}

}  // namespace pwx
