#include "commands/CommandHelp.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "commands/CommandRegistry.h"

namespace pwx {

namespace {

constexpr std::size_t kWidth = 80;
constexpr std::size_t kWidestLabel = 24;  // a longer label puts its help on the next line

using Row = std::pair<std::string, std::string_view>;

// Rows of "  label  help", the helps lined up after the widest label.
std::string Table(const std::string& heading, const std::vector<Row>& rows) {
  std::size_t labels = 0;
  for (const auto& [label, help] : rows) {
    if (label.size() <= kWidestLabel) labels = std::max(labels, label.size());
  }
  const std::size_t indent = 2 + labels + 2;
  std::string text = heading + ":\n";
  for (const auto& [label, help] : rows) {
    std::string line = "  " + label;
    if (label.size() > labels) {
      text += line + "\n" + std::string(indent, ' ');
    } else {
      text += line + std::string(indent - line.size(), ' ');
    }
    text += Wrapped(help, indent, kWidth);
  }
  return text;
}

std::string Paragraphs(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    const std::size_t end = text.find("\n\n");
    out += Wrapped(text.substr(0, end), 0, kWidth);
    if (end == std::string_view::npos) break;
    out += "\n";
    text.remove_prefix(end + 2);
  }
  return out;
}

std::vector<Row> ExitRows(const std::vector<ExitDefinition>& statuses) {
  std::vector<Row> rows;
  for (const ExitDefinition& status : statuses)
    rows.emplace_back(std::to_string(status.Status), status.Meaning);
  return rows;
}

std::vector<Row> OptionRows(const std::vector<OptionDefinition>& options) {
  std::vector<Row> rows;
  for (const OptionDefinition& option : options)
    rows.emplace_back(OptionLabel(option), option.Help);
  return rows;
}

}  // namespace

std::string Wrapped(std::string_view text, std::size_t indent, std::size_t width) {
  std::string out;
  std::size_t column = indent;
  bool first = true;
  while (!text.empty()) {
    const std::size_t space = text.find(' ');
    const std::string_view word = text.substr(0, space);
    text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
    if (word.empty()) continue;
    if (!first && column + 1 + word.size() > width) {
      out += "\n" + std::string(indent, ' ');
      column = indent;
      first = true;
    }
    if (!first) {
      out += ' ';
      ++column;
    }
    out += word;
    column += word.size();
    first = false;
  }
  return out + "\n";
}

std::string OptionLabel(const OptionDefinition& option) {
  std::string label = option.Short != 0 ? std::string("-") + option.Short + ", " : "    ";
  label += "--" + std::string(option.Long);
  if (!option.Value.empty()) label += " " + std::string(option.Value);
  return label;
}

std::string Synopsis(const CommandDefinition& command) {
  std::string synopsis = std::string(Program().Name) + " " + std::string(command.Name);
  for (const OptionDefinition& option : command.Options) {
    if (!option.Required) continue;
    synopsis +=
        option.Short != 0 ? std::string(" -") + option.Short : " --" + std::string(option.Long);
    synopsis += " " + std::string(option.Value);
  }
  synopsis += " [OPTIONS]";
  for (const ArgumentDefinition& argument : command.Arguments) {
    synopsis += argument.Optional ? " [" + std::string(argument.Name) + "]"
                                  : " " + std::string(argument.Name);
  }
  return synopsis;
}

std::string ProgramHelp() {
  const ProgramDefinition& program = Program();
  const std::string name(program.Name);
  std::string text = "Usage: " + name + " [--from-desktop] [FOLDER]\n       " + name +
                     " COMMAND [OPTIONS] [ARGUMENTS]\n       " + name + " help COMMAND\n\n";
  text += Paragraphs(program.Description) + "\n" + Paragraphs(program.Window) + "\n";
  std::vector<Row> commands;
  for (const CommandDefinition* command : Commands()) {
    commands.emplace_back(std::string(command->Name), command->Summary);
  }
  text += Table("Commands", commands) + "\n";
  text += Table("Options", OptionRows(program.Options)) + "\n";
  std::vector<ExitDefinition> statuses = program.ExitStatuses;
  statuses.insert(statuses.end(), SignalExitStatuses().begin(), SignalExitStatuses().end());
  text += Table("Exit status", ExitRows(statuses)) + "\n";
  text += Paragraphs(program.Signals) + "\n";
  text += Wrapped("'" + name + " help COMMAND' or '" + name +
                      " COMMAND --help' shows a command's arguments and options, '" + name +
                      " --help-all' every command's, 'man " + name + "' the manual.",
                  0, kWidth);
  return text;
}

std::string CommandHelp(const CommandDefinition& command) {
  std::string text = "Usage: " + Synopsis(command) + "\n\n";
  text += Paragraphs(command.Description) + "\n";
  if (!command.Arguments.empty()) {
    std::vector<Row> arguments;
    for (const ArgumentDefinition& argument : command.Arguments) {
      arguments.emplace_back(std::string(argument.Name), argument.Help);
    }
    text += Table("Arguments", arguments) + "\n";
  }
  text += Table("Options", OptionRows(AllOptionsOf(command))) + "\n";
  std::vector<Row> statuses = ExitRows(command.ExitStatuses);
  statuses.emplace_back("130, 143, 129",
                        "stopped by Ctrl+C, SIGTERM or SIGHUP at its next safe point");
  return text + Table("Exit status", statuses);
}

std::string AllHelp() {
  std::string text = ProgramHelp();
  for (const CommandDefinition* command : Commands()) text += "\n" + CommandHelp(*command);
  return text;
}

}  // namespace pwx
