#include "commands/CommandRegistry.h"

namespace pwx {

// Every command, one line each: its file defines <Name>CommandDefinition().
#define PWX_COMMANDS(X) \
  X(Check)              \
  X(Deploy)             \
  X(Compare)            \
  X(Report)             \
  X(Import)             \
  X(Show)               \
  X(Apply)              \
  X(Set)                \
  X(Diff)               \
  X(SiteCheck)          \
  X(SiteDeploy)         \
  X(SiteReport)         \
  X(Timeline)           \
  X(Render)             \
  X(Accept)

#define PWX_DECLARE_COMMAND(name) const CommandDefinition& name##CommandDefinition();
PWX_COMMANDS(PWX_DECLARE_COMMAND)
#undef PWX_DECLARE_COMMAND

const std::vector<const CommandDefinition*>& Commands() {
#define PWX_LIST_COMMAND(name) &name##CommandDefinition(),
  static const std::vector<const CommandDefinition*> commands{PWX_COMMANDS(PWX_LIST_COMMAND)};
#undef PWX_LIST_COMMAND
  return commands;
}

const CommandDefinition* FindCommand(std::string_view name) {
  for (const CommandDefinition* command : Commands()) {
    if (command->Name == name) return command;
  }
  return nullptr;
}

const ProgramDefinition& Program() {
  static const ProgramDefinition program{
      "pwx36-editor",
      PWX_VERSION,
      "edit, check and copy the project folder of a PWX36 audio alarm player",
      "Edits the project folder of a PWX36 audio alarm player: the clips it plays, which "
      "trigger input plays which clips how often, its Modbus RTU address and its volume. The "
      "commands check a project folder, copy it onto the player's card, compare it with a "
      "card, write its commissioning report and import clips into it, without a window or a "
      "display.\n\n"
      "Results go to standard output; progress, warnings and errors to standard error. "
      "Progress is one line rewritten in place on a terminal, else a line for each step; "
      "-q leaves it out. Names and paths from a project folder are shown with control "
      "characters, escape sequences and bytes that are no UTF-8 written as \\xNN.",
      "Without a command the program opens its window. Started with a project folder (or its "
      "plist.cfg) as its only argument, the window opens on that folder; --from-desktop, which "
      "the desktop's menu passes, makes it work in a start folder of its own in the documents "
      "folder instead of the current folder.",
      {
          {"help", 'h', "", ValueKind::Text, false,
           "Shows this help and exits; with a command, that command's help."},
          {"help-all", 0, "", ValueKind::Text, false,
           "Shows this help and the help of every command, and exits."},
          {"version", 'v', "", ValueKind::Text, false, "Shows the program's version and exits."},
      },
      "Ctrl+C, SIGTERM and SIGHUP stop a command at its next safe point (deploy once the "
      "file it is writing is whole, the others at once): no temporary file stays behind, the "
      "command says on standard error what it left, never a word of success, and the program "
      "then ends by that signal, so the shell sees 130, 143 or 129. A second signal ends it "
      "at once.",
      {
          {0, "success: the command did what it says"},
          {1, "the command ran and found errors, failed or was refused"},
          {2, "wrong arguments, or a folder or file that cannot be used"},
      },
      {
          {"PRJ.cfg",
           "In the folder the program is started from: names the current project "
           "folder, which check without FOLDER and the window open."},
          {"~/.cache/pwx36-editor/file-hashes",
           "The SHA-256 of files already read, by path, size, times, inode and device, so "
           "that deploy of an unchanged project only looks at the files (under "
           "XDG_CACHE_HOME when that is set)."},
      },
  };
  return program;
}

}  // namespace pwx
