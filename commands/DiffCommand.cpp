#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "commands/CommandPaths.h"
#include "commands/CommandTable.h"
#include "commands/FolderProject.h"
#include "common/EditorError.h"
#include "common/MessageText.h"
#include "delivery/ClipAudioCompare.h"
#include "delivery/ProjectTextFolder.h"
#include "textform/ProjectDiff.h"
#include "textform/ProjectTextJson.h"
#include "textform/TextToCompare.h"

namespace pwx {

namespace {

bool IsJsonFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) &&
         std::filesystem::path(path).extension() == ".json";
}

// A side of the comparison: a project folder or card, or a JSON text form.
struct Side {
  std::string Path;
  std::optional<std::string> Json;         // a text form
  std::optional<ProjectSnapshot> Project;  // a folder
  ProjectText Text;
};

bool Read(Side& side, FileHashCache& hashes, CommandContext& context) {
  try {
    if (IsJsonFile(side.Path)) {
      std::ifstream in(side.Path, std::ios::binary);
      if (!in) throw EditorError("cannot be read");
      side.Json.emplace(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      return true;
    }
    side.Project = OpenFolderProject(side.Path, context.StartFolder, context.Err);
    if (!side.Project) return false;
    side.Text = TextOfSnapshot(*side.Project, {&hashes, false});
    return true;
  } catch (const EditorError& error) {
    context.Err << TerminalText(side.Path) << ": " << TerminalText(error.what()) << "\n";
    return false;
  }
}

// A text form is read over the other side, so that what it leaves out is not a difference.
bool ReadText(Side& side, const ProjectText& other, CommandContext& context) {
  try {
    side.Text = ReadTextToCompare(*side.Json, other);
    return true;
  } catch (const EditorError& error) {
    context.Err << TerminalText(side.Path) << ": " << TerminalText(error.what()) << "\n";
    return false;
  }
}

CommandExit Run(const CommandInput& input, CommandContext& context) {
  Side a{input.Argument(0), {}, {}, {}}, b{input.Argument(1), {}, {}, {}};
  // Copies unchanged since they were last hashed are not read again.
  FileHashCache hashes(HashStorePath());
  const bool read = Read(a, hashes, context) && Read(b, hashes, context);
  hashes.Save();
  if (!read) return CommandExit::CannotRun;
  if (a.Json && !ReadText(a, b.Json ? ProjectText{} : b.Text, context)) {
    return CommandExit::CannotRun;
  }
  if (b.Json && !ReadText(b, a.Text, context)) return CommandExit::CannotRun;
  // The copies' audio is compared only where both sides are folders that hold them.
  const ClipAudioComparer audio = a.Project && b.Project
                                      ? FolderClipComparer(a.Project->WorkDir, b.Project->WorkDir)
                                      : ClipAudioComparer{};
  const ProjectDiff diff = DiffProjectTexts(a.Text, b.Text, audio);
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
