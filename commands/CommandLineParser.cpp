#include "commands/CommandLineParser.h"

#include <charconv>
#include <optional>
#include <system_error>

#include "commands/CommandHelp.h"
#include "commands/CommandRegistry.h"
#include "common/FileSystem.h"
#include "common/MessageText.h"
#include "project/StartFolder.h"

namespace pwx {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

std::string Quoted(std::string_view word) {
  return "'" + TerminalText(word) + "'";
}

// "pwx36-editor: <problem> for deploy; see 'pwx36-editor deploy --help'", one line.
UsageError Problem(const std::string& problem, const CommandDefinition* command) {
  const std::string program(Program().Name);
  if (command == nullptr) return {program + ": " + problem + "; see '" + program + " --help'"};
  const std::string name(command->Name);
  return {program + ": " + problem + " for " + name + "; see '" + program + " " + name +
          " --help'"};
}

const OptionDefinition* FindLong(const std::vector<OptionDefinition>& options,
                                 std::string_view name) {
  for (const OptionDefinition& option : options) {
    if (option.Long == name) return &option;
  }
  return nullptr;
}

const OptionDefinition* FindShort(const std::vector<OptionDefinition>& options, char name) {
  for (const OptionDefinition& option : options) {
    if (option.Short != 0 && option.Short == name) return &option;
  }
  return nullptr;
}

// Whether any command's option of that long or short name takes a value: so the word after
// it is no command, wherever it stands.
bool TakesValueAnywhere(std::string_view longName, char shortName) {
  for (const CommandDefinition* command : Commands()) {
    for (const OptionDefinition& option : command->Options) {
      const bool named =
          longName.empty() ? option.Short == shortName && shortName != 0 : option.Long == longName;
      if (named && !option.Value.empty()) return true;
    }
  }
  return false;
}

// Where the command's name stands: the first word that is neither an option nor an
// option's value.
std::size_t CommandWordAt(const std::vector<std::string>& words) {
  for (std::size_t at = 0; at < words.size(); ++at) {
    const std::string& word = words[at];
    if (word == "--") return at + 1 < words.size() ? at + 1 : kNone;
    if (word.size() < 2 || word[0] != '-') return at;
    if (word[1] == '-') {
      if (word.find('=') == std::string::npos && TakesValueAnywhere(word.substr(2), 0)) ++at;
      continue;
    }
    for (std::size_t letter = 1; letter < word.size(); ++letter) {
      if (TakesValueAnywhere({}, word[letter])) {
        if (letter + 1 == word.size()) ++at;
        break;
      }
    }
  }
  return kNone;
}

bool IsWholeNumber(const std::string& word) {
  int value = 0;
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  return !word.empty() && error == std::errc() && stop == end;
}

// The words of one command, the command's name taken out.
class CommandWords {
 public:
  CommandWords(const CommandDefinition& command, const std::vector<std::string>& words)
      : command_(command), words_(words), options_(AllOptionsOf(command)) {}

  ParsedCommandLine Parse() {
    bool onlyArguments = false;
    for (at_ = 0; at_ < words_.size(); ++at_) {
      const std::string& word = words_[at_];
      if (onlyArguments || word == "-" || word.empty() || word[0] != '-') {
        input_.Arguments.push_back(word);
      } else if (word == "--") {
        onlyArguments = true;
      } else if (word[1] == '-') {
        LongOption(word);
      } else {
        ShortOptions(word);
      }
    }
    if (input_.Has("help")) return ShowText{CommandHelp(command_)};
    if (problem_) return *problem_;
    if (const auto wrong = WrongArguments()) return *wrong;
    return RunCommand{&command_, input_};
  }

 private:
  void Note(const std::string& problem) {
    if (!problem_) problem_ = Problem(problem, &command_);
  }

  // The value of an option given as `given`: `inlineValue`, else the next word.
  void Take(const OptionDefinition& option, const std::string& given,
            const std::optional<std::string>& inlineValue) {
    if (option.Value.empty()) {
      if (inlineValue) Note("option " + Quoted(given) + " takes no value");
      input_.Options[std::string(option.Long)] = "";
    } else if (inlineValue) {
      input_.Options[std::string(option.Long)] = *inlineValue;
    } else if (at_ + 1 < words_.size()) {
      input_.Options[std::string(option.Long)] = words_[++at_];
    } else {
      Note("missing " + std::string(option.Value) + " after " + Quoted(given));
    }
  }

  void LongOption(const std::string& word) {
    const std::size_t equals = word.find('=');
    const std::string given = word.substr(0, equals);
    const OptionDefinition* option = FindLong(options_, std::string_view(given).substr(2));
    if (option == nullptr) return Note("unknown option " + Quoted(given));
    Take(*option, given,
         equals == std::string::npos ? std::nullopt : std::optional(word.substr(equals + 1)));
  }

  void ShortOptions(const std::string& word) {
    for (std::size_t letter = 1; letter < word.size(); ++letter) {
      const std::string given = std::string("-") + word[letter];
      const OptionDefinition* option = FindShort(options_, word[letter]);
      if (option == nullptr) return Note("unknown option " + Quoted(given));
      if (!option->Value.empty()) {
        const std::string rest = word.substr(letter + 1);
        return Take(*option, given, rest.empty() ? std::nullopt : std::optional(rest));
      }
      Take(*option, given, std::nullopt);
    }
  }

  std::optional<UsageError> WrongArguments() const {
    const auto& declared = command_.Arguments;
    const auto& given = input_.Arguments;
    // A last argument named "WORD..." takes every word that is left.
    const bool repeats = !declared.empty() && declared.back().Name.ends_with("...");
    if (given.size() > declared.size() && !repeats) {
      return Problem("unexpected argument " + Quoted(given[declared.size()]), &command_);
    }
    for (std::size_t i = 0; i < declared.size(); ++i) {
      if (i >= given.size()) {
        if (declared[i].Optional) break;
        return Problem("missing " + std::string(declared[i].Name), &command_);
      }
      if (declared[i].Kind == ValueKind::Number && !IsWholeNumber(given[i])) {
        return Problem(
            std::string(declared[i].Name) + " must be a whole number, not " + Quoted(given[i]),
            &command_);
      }
    }
    for (const OptionDefinition& option : command_.Options) {
      if (option.Required && !input_.Has(option.Long)) {
        const std::string name =
            option.Short != 0 ? std::string("-") + option.Short : "--" + std::string(option.Long);
        return Problem("missing " + name + " " + std::string(option.Value), &command_);
      }
    }
    return std::nullopt;
  }

  const CommandDefinition& command_;
  const std::vector<std::string>& words_;
  const std::vector<OptionDefinition> options_;
  std::size_t at_ = 0;
  CommandInput input_;
  std::optional<UsageError> problem_;
};

// "help" and "help COMMAND".
ParsedCommandLine Help(const std::vector<std::string>& words, std::size_t at) {
  if (at + 1 == words.size()) return ShowText{ProgramHelp()};
  const bool twoWords = at + 2 < words.size() && FindCommand(words[at + 1] + " " + words[at + 2]);
  const CommandDefinition* command =
      FindCommand(twoWords ? words[at + 1] + " " + words[at + 2] : words[at + 1]);
  if (command == nullptr) return Problem("unknown command " + Quoted(words[at + 1]), nullptr);
  if (at + (twoWords ? 3 : 2) < words.size()) {
    return Problem("unexpected argument " + Quoted(words[at + 2]) + " for help", nullptr);
  }
  return ShowText{CommandHelp(*command)};
}

// Words without a command: the program's own options.
ParsedCommandLine ProgramOptions(const std::vector<std::string>& words) {
  for (const std::string& word : words) {
    if (word == "-h" || word == "--help") return ShowText{ProgramHelp()};
    if (word == "-v" || word == "--version") {
      return ShowText{std::string(Program().Name) + " " + std::string(Program().Version) + "\n"};
    }
  }
  for (const std::string& word : words) {
    if (word != "--") {
      return Problem("unknown option " + Quoted(word.substr(0, word.find('='))), nullptr);
    }
  }
  return Problem("no command given", nullptr);
}

bool OpensTheWindow(const std::vector<std::string>& words, const WindowTarget& opensWindow) {
  const std::size_t from = !words.empty() && words[0] == kFromDesktopOption ? 1 : 0;
  if (from == words.size()) return true;
  if (from + 1 != words.size()) return false;
  const std::string& word = words[from];
  return !word.empty() && word[0] != '-' && word != "help" && FindCommand(word) == nullptr &&
         opensWindow && opensWindow(word);
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& words,
                                   const WindowTarget& opensWindow) {
  if (OpensTheWindow(words, opensWindow)) return OpenWindow{words};
  for (const std::string& word : words) {
    if (word == "--") break;
    if (word == "--help-all") return ShowText{AllHelp()};
  }
  const std::size_t at = CommandWordAt(words);
  if (at == kNone) return ProgramOptions(words);
  if (words[at] == "help") return Help(words, at);
  // A command of two words ("site check") is looked for before one of one.
  const CommandDefinition* command =
      at + 1 < words.size() ? FindCommand(words[at] + " " + words[at + 1]) : nullptr;
  const std::ptrdiff_t commandWords = command ? 2 : 1;
  if (!command) command = FindCommand(words[at]);
  if (command == nullptr) {
    std::vector<std::string> twoWords;
    for (const CommandDefinition* known : Commands()) {
      if (known->Name.rfind(words[at] + " ", 0) == 0) twoWords.emplace_back(known->Name);
    }
    if (!twoWords.empty()) {
      std::string list;
      for (std::size_t i = 0; i < twoWords.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == twoWords.size() ? " or " : ", ") + Quoted(twoWords[i]);
      }
      return Problem(Quoted(words[at]) + " takes a second word: " + list, nullptr);
    }
    return Problem("unknown command " + Quoted(words[at]), nullptr);
  }
  std::vector<std::string> rest = words;
  rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(at),
             rest.begin() + static_cast<std::ptrdiff_t>(at) + commandWords);
  return CommandWords(*command, rest).Parse();
}

bool IsFolderOrPlayList(const std::string& word) {
  return ProjectFolderArgument({word}).has_value();
}

}  // namespace pwx
