#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "commands/CommandExit.h"

namespace pwx {

// What an argument or an option's value names, so that the shell's completion offers the
// right kind of word.
enum class ValueKind { Folder, File, Number, Text };

struct ArgumentDefinition {
  std::string_view Name;  // "FOLDER", as the usage line shows it
  ValueKind Kind = ValueKind::Text;
  bool Optional = false;  // only the last arguments may be optional
  std::string_view Help;
};

struct OptionDefinition {
  std::string_view Long;   // "output", given as --output
  char Short = 0;          // 'o', given as -o; 0 for none
  std::string_view Value;  // "FILE" when the option takes a value; empty for a switch
  ValueKind Kind = ValueKind::Text;
  bool Required = false;
  std::string_view Help;
};

struct ExitDefinition {
  int Status = 0;
  std::string_view Meaning;
};

// A command line as the command's table understood it: the arguments in order, and each
// option given, by its long name, with its value (empty for a switch; the last one given).
struct CommandInput {
  std::vector<std::string> Arguments;
  std::map<std::string, std::string, std::less<>> Options;

  bool Has(std::string_view option) const { return Options.find(option) != Options.end(); }
  std::string Value(std::string_view option) const {
    const auto found = Options.find(option);
    return found == Options.end() ? std::string() : found->second;
  }
  // The argument at `index`, or an empty text when it was left out.
  std::string Argument(std::size_t index) const {
    return index < Arguments.size() ? Arguments[index] : std::string();
  }
};

// Turns a report's page (HTML) into the bytes of a PDF; gives nothing and says why on
// `why` when it cannot.
using PdfRenderer =
    std::function<std::optional<std::string>(const std::string& html, const std::string& title,
                                             const std::string& creator, std::string& why)>;

// Where a command runs: its streams, the folder it was started from and what a command may
// ask of the program around it.
struct CommandContext {
  std::ostream& Out;  // results
  std::ostream& Err;  // progress, warnings, errors
  std::string StartFolder;
  bool OutIsTerminal = false;
  bool ErrIsTerminal = false;
  // Set by Ctrl+C, SIGTERM or SIGHUP: the work stops at its next safe point.
  const std::atomic<bool>* Cancel = nullptr;
  PdfRenderer RenderPdf;
};

// One command of the program: its name, what it takes and says, and how it runs. The help,
// the manual page and the shell's completion are all made from this table.
struct CommandDefinition {
  std::string_view Name;
  std::string_view Summary;      // one line for the list of commands, no full stop
  std::string_view Description;  // paragraphs separated by "\n\n", one line each
  std::vector<ArgumentDefinition> Arguments;
  std::vector<OptionDefinition> Options;  // besides the ones every command takes
  std::vector<ExitDefinition> ExitStatuses;
  CommandExit (*Run)(const CommandInput& input, CommandContext& context) = nullptr;
};

// The options every command takes, after its own.
const std::vector<OptionDefinition>& CommonOptions();

// The command's own options, then the common ones.
std::vector<OptionDefinition> AllOptionsOf(const CommandDefinition& command);

// The exit statuses of a command stopped by a signal, the same for every command.
const std::vector<ExitDefinition>& SignalExitStatuses();

}  // namespace pwx
