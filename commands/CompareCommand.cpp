#include "commands/CardCommandParts.h"
#include "commands/CardCommands.h"
#include "commands/FolderProject.h"
#include "common/MessageText.h"

namespace pwx {

namespace {

// "same", "differs", "missing-on-card", "only-on-card".
std::string StateCode(CardState state) {
  std::string code = CardStateText(state);
  for (char& c : code) {
    if (c == ' ') c = '-';
  }
  return code;
}

void PrintJson(const DeployPlan& plan, const std::vector<CardComparison>& comparison,
               std::ostream& out) {
  JsonValue files = JsonValue::Array();
  for (const CardComparison& item : comparison) {
    files.Append(JsonValue::Object().Set("name", item.Name).Set("state", StateCode(item.State)));
  }
  JsonValue missing = JsonValue::Array();
  for (const std::string& name : plan.MissingInProject) missing.Append(name);
  out << JsonValue::Object()
             .Set("project", plan.ProjectFolder)
             .Set("card", CardJson(plan))
             .Set("files", files)
             .Set("missing_in_project", missing)
             .Set("holds_project", CardHoldsProject(plan, comparison))
             .Set("summary", ComparisonSummary(comparison))
             .Text()
      << "\n";
}

CommandExit Run(const CommandInput& input, CommandContext& context) {
  return CompareCommand(CardRequestOf(input, context), context.Out, context.Err);
}

}  // namespace

const CommandDefinition& CompareCommandDefinition() {
  static const CommandDefinition definition{
      "compare",
      "Compares a project with a card, file by file",
      "Compares the player's files of the project in FOLDER with those on the card (or "
      "folder) DEST, reading every byte, and writes nothing. Prints a line a file, its state "
      "(same, differs, missing on card, only on card) and its name, then a summary such as "
      "\"Compare: 20 same, 2 differ\".",
      CardCommandArguments(),
      {{"json", 0, "", ValueKind::Text, false,
        "Prints the comparison as one JSON object instead of text."}},
      {{0, "the card holds the project: every player file the same, no stale clip"},
       {1,
        "a file differs or is missing, a stale clip is on the card, or the project folder "
        "lacks a player's file"},
       {2, "wrong arguments, or a folder that cannot be read"}},
      Run,
  };
  return definition;
}

CommandExit CompareCommand(const CardCommandRequest& request, std::ostream& out,
                           std::ostream& err) {
  const auto project = OpenFolderProject(request.Folder, request.StartFolder, err);
  if (!project) return CommandExit::CannotRun;
  const auto plan = MakeCardPlan(*project, request, nullptr, err);  // every byte is read
  if (!plan) {
    return request.Cancel && request.Cancel->load() ? CommandExit::Interrupted
                                                    : CommandExit::CannotRun;
  }
  const auto comparison = CompareWithCard(*plan);
  if (request.Json) {
    PrintJson(*plan, comparison, out);
  } else {
    for (const auto& item : comparison) {
      std::string state = CardStateText(item.State);
      state.resize(16, ' ');
      out << state << " " << TerminalText(item.Name) << "\n";
    }
  }
  for (const auto& name : plan->MissingInProject) {
    err << "error: the project folder lacks " << TerminalText(name) << "\n";
  }
  if (!request.Json) out << ComparisonSummary(comparison) << "\n";
  return CardHoldsProject(*plan, comparison) ? CommandExit::Success : CommandExit::Failed;
}

}  // namespace pwx
