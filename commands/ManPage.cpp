#include "commands/ManPage.h"

#include "commands/CommandHelp.h"
#include "commands/CommandRegistry.h"

namespace pwx {

namespace {

std::string Bold(std::string_view text) {
  return "\\fB" + RoffText(text) + "\\fR";
}

std::string Italic(std::string_view text) {
  return "\\fI" + RoffText(text) + "\\fR";
}

// Paragraphs separated by "\n\n", each its own roff paragraph.
std::string Paragraphs(std::string_view text) {
  std::string roff;
  while (!text.empty()) {
    const std::size_t end = text.find("\n\n");
    roff += ".PP\n" + RoffText(text.substr(0, end)) + "\n";
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 2);
  }
  return roff;
}

std::string Item(const std::string& label, std::string_view text) {
  return ".TP\n" + label + "\n" + RoffText(text) + "\n";
}

std::string OptionItem(const OptionDefinition& option) {
  std::string label;
  if (option.Short != 0) label = Bold(std::string("-") + option.Short) + ", ";
  label += Bold("--" + std::string(option.Long));
  if (!option.Value.empty()) label += " " + Italic(option.Value);
  return Item(label, option.Help);
}

std::string ExitItems(const std::vector<ExitDefinition>& statuses) {
  std::string roff;
  for (const ExitDefinition& status : statuses)
    roff += Item(Bold(std::to_string(status.Status)), status.Meaning);
  return roff;
}

std::string CommandSection(const CommandDefinition& command) {
  std::string roff = ".SS " + RoffText(command.Name) + "\n";
  std::string synopsis = Bold(std::string(Program().Name) + " " + std::string(command.Name));
  for (const OptionDefinition& option : command.Options) {
    if (!option.Required) continue;
    synopsis += " " +
                Bold(option.Short != 0 ? std::string("-") + option.Short
                                       : "--" + std::string(option.Long)) +
                " " + Italic(option.Value);
  }
  synopsis += " [" + Italic("OPTIONS") + "]";
  for (const ArgumentDefinition& argument : command.Arguments) {
    synopsis +=
        argument.Optional ? " [" + Italic(argument.Name) + "]" : " " + Italic(argument.Name);
  }
  roff += synopsis + "\n" + Paragraphs(command.Description);
  for (const ArgumentDefinition& argument : command.Arguments)
    roff += Item(Italic(argument.Name), argument.Help);
  for (const OptionDefinition& option : AllOptionsOf(command)) roff += OptionItem(option);
  roff += ".PP\nExit status:\n.RS\n" + ExitItems(command.ExitStatuses) + ".RE\n";
  return roff;
}

}  // namespace

std::string RoffText(std::string_view text) {
  std::string roff;
  bool lineStart = true;
  for (const char c : text) {
    if (lineStart && (c == '.' || c == '\'')) roff += "\\&";
    lineStart = c == '\n';
    if (c == '\\') {
      roff += "\\e";
    } else if (c == '-') {
      roff += "\\-";
    } else {
      roff += c;
    }
  }
  return roff;
}

std::string ManPage(std::string_view date) {
  const ProgramDefinition& program = Program();
  const std::string name(program.Name);
  std::string roff =
      ".\\\" The manual page of " + name + ", written from its command tables at build time.\n";
  roff += ".TH " + RoffText("PWX36-EDITOR") + " 1 " + RoffText(date) + " \"" + RoffText(name) +
          " " + RoffText(program.Version) + "\" \"User Commands\"\n";
  roff += ".SH NAME\n" + RoffText(name) + " \\- " + RoffText(program.Summary) + "\n";
  roff += ".SH SYNOPSIS\n.nf\n";
  roff += Bold(name) + " [" + Bold("--from-desktop") + "] [" + Italic("FOLDER") + "]\n";
  roff += Bold(name) + " " + Italic("COMMAND") + " [" + Italic("OPTIONS") + "] [" +
          Italic("ARGUMENTS") + "]\n";
  roff += Bold(name + " help") + " " + Italic("COMMAND") + "\n";
  roff += Bold(name) + " " + Bold("--help") + " | " + Bold("--help-all") + " | " +
          Bold("--version") + "\n.fi\n";
  roff += ".SH DESCRIPTION\n" + Paragraphs(program.Description) + Paragraphs(program.Window);
  roff += ".SH COMMANDS\n";
  for (const CommandDefinition* command : Commands()) roff += CommandSection(*command);
  roff += ".SH OPTIONS\nWithout a command:\n";
  for (const OptionDefinition& option : program.Options) roff += OptionItem(option);
  roff +=
      ".SH \"EXIT STATUS\"\n" + ExitItems(program.ExitStatuses) + ExitItems(SignalExitStatuses());
  roff += ".SH SIGNALS\n" + Paragraphs(program.Signals);
  roff += ".SH FILES\n";
  for (const auto& [file, what] : program.Files) roff += Item(Italic(file), what);
  return roff;
}

}  // namespace pwx
