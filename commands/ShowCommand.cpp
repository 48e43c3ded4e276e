#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

#include "commands/CommandPaths.h"
#include "commands/CommandTable.h"
#include "commands/FolderProject.h"
#include "common/EditorError.h"
#include "delivery/ProjectTextFolder.h"
#include "textform/ProjectTextJson.h"
#include "textform/ProjectTextPlain.h"

namespace pwx {

namespace {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return bytes.str();
}

// One player file, as git's textconv hands it over (perhaps under a temporary name).
CommandExit ShowPlayerFile(const std::string& path, CommandContext& context) {
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) {
    context.Err << "Cannot read " << path << "\n";
    return CommandExit::CannotRun;
  }
  const std::string name = std::filesystem::path(path).filename().string();
  const std::optional<std::string> text = PlayerFileText(name, *bytes);
  if (!text) {
    context.Err << path << " is no player file (plist.cfg, rtu.cfg, vol.cfg or m3fn.txt)\n";
    return CommandExit::CannotRun;
  }
  context.Out << *text;
  return CommandExit::Success;
}

CommandExit Run(const CommandInput& input, CommandContext& context) {
  const std::string target = input.Argument(0);
  std::error_code error;
  if (!target.empty() && std::filesystem::is_regular_file(target, error)) {
    return ShowPlayerFile(target, context);
  }
  const auto project = OpenFolderProject(target, context.StartFolder, context.Err);
  if (!project) return CommandExit::CannotRun;
  try {
    // The copies' SHA-256 are remembered as deploy remembers them: unchanged copies are not
    // read again.
    FileHashCache hashes(HashStorePath());
    const ProjectText text = TextOfSnapshot(*project, {&hashes, false});
    hashes.Save();
    context.Out << (input.Has("json") ? ProjectTextJson(text) + "\n" : PlainProjectText(text));
  } catch (const EditorError& failure) {
    context.Err << failure.what() << "\n";
    return CommandExit::CannotRun;
  }
  return CommandExit::Success;
}

}  // namespace

const CommandDefinition& ShowCommandDefinition() {
  static const CommandDefinition definition{
      "show",
      "Prints a project, or one of its player files, as text",
      "Prints the project in FOLDER as text: its settings, the inputs of each mode and every "
      "clip with its copy's name, size and SHA-256, a line each. With --json the same as the "
      "JSON text form that apply reads. Changes no file.\n\n"
      "Given one of the player's files (plist.cfg, rtu.cfg, vol.cfg or m3fn.txt) instead, it "
      "prints that file as text, so that git can show its changes: git config "
      "diff.pwx36.textconv \"pwx36-editor show\".",
      {{"FOLDER", ValueKind::Folder, false, "The project folder, or one player file of it."}},
      {{"json", 0, "", ValueKind::Text, false,
        "Prints the project's JSON text form instead of plain text."}},
      {{0, "the project or file was printed"},
       {2, "wrong arguments, or a folder or file that cannot be read as a project"}},
      Run,
  };
  return definition;
}

}  // namespace pwx
