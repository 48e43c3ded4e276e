#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "commands/CommandTable.h"
#include "commands/FolderProject.h"
#include "common/EditorError.h"
#include "common/MessageText.h"
#include "delivery/ClipAudioCompare.h"
#include "delivery/ProjectTextFolder.h"
#include "textform/ProjectDiff.h"
#include "textform/ProjectTextJson.h"

namespace pwx {

namespace {

bool IsJsonFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) &&
         std::filesystem::path(path).extension() == ".json";
}

// A side of the comparison: a project folder or card, or a JSON text form.
std::optional<ProjectText> TextOf(const std::string& path, CommandContext& context) {
  try {
    if (IsJsonFile(path)) {
      std::ifstream in(path, std::ios::binary);
      const std::string json{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      return ReadProjectText(json, ProjectText{});
    }
    const auto project = OpenFolderProject(path, context.StartFolder, context.Err);
    if (!project) return std::nullopt;
    return TextOfSnapshot(*project);
  } catch (const EditorError& error) {
    context.Err << TerminalText(path) << ": " << TerminalText(error.what()) << "\n";
    return std::nullopt;
  }
}

CommandExit Run(const CommandInput& input, CommandContext& context) {
  const std::string pathA = input.Argument(0), pathB = input.Argument(1);
  const std::optional<ProjectText> a = TextOf(pathA, context);
  if (!a) return CommandExit::CannotRun;
  const std::optional<ProjectText> b = TextOf(pathB, context);
  if (!b) return CommandExit::CannotRun;
  // The copies' audio is compared only where both sides are folders that hold them.
  const ClipAudioComparer audio = IsJsonFile(pathA) || IsJsonFile(pathB)
                                      ? ClipAudioComparer{}
                                      : FolderClipComparer(pathA, pathB);
  const ProjectDiff diff = DiffProjectTexts(*a, *b, audio);
  if (input.Has("json")) {
    context.Out << ProjectDiffJson(diff) << "\n";
  } else {
    for (const DiffLine& line : diff.Lines) context.Out << TerminalText(line.Text) << "\n";
  }
  for (const std::string& trouble : diff.Troubles) context.Err << TerminalText(trouble) << "\n";
  switch (diff.Outcome()) {
    case DiffOutcome::Equal:
      return CommandExit::Success;
    case DiffOutcome::Different:
      return CommandExit::Failed;
    case DiffOutcome::Trouble:
      break;
  }
  return CommandExit::CannotRun;
}

}  // namespace

const CommandDefinition& DiffCommandDefinition() {
  static const CommandDefinition definition{
      "diff",
      "Shows how two projects differ, in the player's terms",
      "Compares the projects A and B, each a project folder, a card or a JSON text form as "
      "show --json prints it, and prints one line a difference: the settings, the mode, every "
      "slot's clips, repeat and alarm output, and each clip's source and audio. Changes no "
      "file.",
      {{"A", ValueKind::File, false, "The first project: a folder, a card or a .json file."},
       {"B", ValueKind::File, false, "The second project: a folder, a card or a .json file."}},
      {{"json", 0, "", ValueKind::Text, false,
        "Prints the differences as a JSON object instead of lines."}},
      {{0, "the projects are equal"},
       {1, "the projects differ"},
       {2, "wrong arguments, or a side that cannot be read or compared"}},
      Run,
  };
  return definition;
}

}  // namespace pwx
