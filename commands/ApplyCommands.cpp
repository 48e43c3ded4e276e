#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "commands/CommandPaths.h"
#include "commands/CommandTable.h"
#include "commands/FolderProject.h"
#include "commands/HeadlessHost.h"
#include "common/EditorError.h"
#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "delivery/ProjectTextApply.h"
#include "project/Editor.h"
#include "textform/KeyEdits.h"
#include "textform/ProjectText.h"
#include "textform/ProjectTextJson.h"

namespace pwx {

namespace {

using TextChange = ProjectText (*)(const ProjectText& base, const CommandInput& input);

// Opens the folder (an empty one becomes a whole project), turns its text form into the one
// asked for and saves that through the editor, which writes every file or none.
CommandExit ChangeFolder(const CommandInput& input, CommandContext& context, TextChange change) {
  const std::string folder = input.Argument(0);
  HeadlessHost host;
  host.Cancel = context.Cancel;
  SilentPlayer player;
  Editor editor(host, player, context.StartFolder);
  if (!OpenInHeadlessEditor(editor, host, folder, context.Err)) return CommandExit::CannotRun;
  try {
    // The project as it stands, without its copies' facts: a text that gives a copy's
    // SHA-256 has that copy read (or its remembered hash looked up) when the library is
    // planned, and a key edit reads none.
    const ProjectSnapshot now = editor.Snapshot();
    const ProjectText wanted = change(ProjectTextOf(now.Project, now.ToSave.PlayList), input);
    FileHashCache hashes(HashStorePath());
    const ApplyResult result = ApplyProjectText(editor, wanted, &hashes);
    hashes.Save();
    for (const auto& message : host.Messages) context.Err << TerminalText(message) << "\n";
    // What the save wrote, as Save Project says it: "Saved: plist.cfg, m3fn.txt, ... in P/".
    for (const int number : result.Imported) {
      context.Out << "Imported clip " << ThreeDigits(number) << "\n";
    }
    context.Out << TerminalText(editor.StatusText()) << "\n";
  } catch (const TextFormError& error) {
    context.Err << TerminalText(error.what()) << "\nNothing was written.\n";
    return CommandExit::CannotRun;
  } catch (const EditorError& error) {
    context.Err << TerminalText(error.what()) << "\n";
    return CommandExit::Failed;
  }
  return CommandExit::Success;
}

ProjectText FromJson(const ProjectText& base, const CommandInput& input) {
  const std::string file = input.Argument(1);
  std::string json;
  if (file == "-") {
    json.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw TextFormError("", "cannot read " + file);
    json.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return ReadProjectText(json, base);
}

ProjectText FromEdits(const ProjectText& base, const CommandInput& input) {
  const std::vector<std::string> edits(input.Arguments.begin() + 1, input.Arguments.end());
  return ApplyKeyEdits(base, edits);
}

CommandExit RunApply(const CommandInput& input, CommandContext& context) {
  return ChangeFolder(input, context, FromJson);
}

CommandExit RunSet(const CommandInput& input, CommandContext& context) {
  return ChangeFolder(input, context, FromEdits);
}

}  // namespace

const CommandDefinition& ApplyCommandDefinition() {
  static const CommandDefinition definition{
      "apply",
      "Makes a project folder what a JSON text form says",
      "Reads the JSON text form in FILE (- for standard input), as show --json prints it, "
      "and saves the project in FOLDER as it says: keys left out keep the folder's values, "
      "and clips whose copies are missing or differ are imported from their sources. An "
      "empty folder becomes a whole project. A text that cannot be read changes nothing and "
      "is named by its key.",
      {{"FOLDER", ValueKind::Folder, false, "The project folder, perhaps empty."},
       {"FILE", ValueKind::File, false, "The JSON text form, or - for standard input."}},
      {},
      {{0, "the project was saved"},
       {1, "the project could not be saved"},
       {2, "wrong arguments, a folder that cannot be opened, or a text that cannot be read"}},
      RunApply,
  };
  return definition;
}

const CommandDefinition& SetCommandDefinition() {
  static const CommandDefinition definition{
      "set",
      "Sets keys of a project folder's text form",
      "Changes the keys of the project's text form that each KEY=VALUE names, such as "
      "device_id=12, and saves the project in FOLDER as apply does. A key or value that "
      "cannot be used changes nothing.",
      {{"FOLDER", ValueKind::Folder, false, "The project folder, perhaps empty."},
       {"KEY=VALUE...", ValueKind::Text, false, "The keys to set and their values."}},
      {},
      {{0, "the project was saved"},
       {1, "the project could not be saved"},
       {2,
        "wrong arguments, a folder that cannot be opened, or a key or value that cannot be "
        "used"}},
      RunSet,
  };
  return definition;
}

}  // namespace pwx
