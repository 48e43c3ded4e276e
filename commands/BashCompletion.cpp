#include "commands/BashCompletion.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "commands/CommandRegistry.h"

namespace pwx {

namespace {

const char* KindWord(ValueKind kind) {
  switch (kind) {
    case ValueKind::Folder:
      return "folder";
    case ValueKind::File:
      return "file";
    case ValueKind::Number:
    case ValueKind::Text:
      break;
  }
  return "none";
}

// "-o|--output|--csv": the options of any command that take a value.
std::string ValueOptionsPattern() {
  std::set<std::string> names;
  for (const CommandDefinition* command : Commands()) {
    for (const OptionDefinition& option : command->Options) {
      if (option.Value.empty()) continue;
      names.insert("--" + std::string(option.Long));
      if (option.Short != 0) names.insert(std::string("-") + option.Short);
    }
  }
  std::string pattern;
  for (const std::string& name : names) pattern += (pattern.empty() ? "" : "|") + name;
  return pattern;
}

// One case arm a value-taking option, completing the kind of word it names.
std::string ValueArms() {
  std::map<std::string, std::string> kinds;
  for (const CommandDefinition* command : Commands()) {
    for (const OptionDefinition& option : command->Options) {
      if (option.Value.empty()) continue;
      std::string names = "--" + std::string(option.Long);
      if (option.Short != 0) names = std::string("-") + option.Short + "|" + names;
      kinds[names] = KindWord(option.Kind);
    }
  }
  std::string arms;
  for (const auto& [names, kind] : kinds) {
    arms += "    " + names + ") _pwx36_editor_offer " + kind + " \"$cur\"; return ;;\n";
  }
  return arms;
}

std::string CommandArms() {
  std::string arms;
  for (const CommandDefinition* command : Commands()) {
    std::string options, kinds;
    for (const OptionDefinition& option : AllOptionsOf(*command)) {
      options += (options.empty() ? "" : " ") + ("--" + std::string(option.Long));
      if (option.Short != 0) options += std::string(" -") + option.Short;
    }
    for (const ArgumentDefinition& argument : command->Arguments) {
      kinds += (kinds.empty() ? "" : " ") + std::string(KindWord(argument.Kind));
    }
    arms += "    " + ArmPattern(command->Name) + ") options=\"" + options + "\" kinds=(" + kinds +
            ") ;;\n";
  }
  return arms;
}

// The first words of the commands, each once ("site" for "site check" and "site deploy").
std::vector<std::string> FirstWords() {
  std::vector<std::string> words;
  for (const CommandDefinition* command : Commands()) {
    const std::string first(command->Name.substr(0, command->Name.find(' ')));
    if (std::find(words.begin(), words.end(), first) == words.end()) words.push_back(first);
  }
  return words;
}

// For a command of two words: once its first word is given, the second is the command's
// rest, offered while it is being typed.
std::string SecondWordArms() {
  std::map<std::string, std::string> seconds;
  for (const CommandDefinition* command : Commands()) {
    const std::size_t space = command->Name.find(' ');
    if (space == std::string_view::npos) continue;
    std::string& words = seconds[std::string(command->Name.substr(0, space))];
    words += (words.empty() ? "" : " ") + std::string(command->Name.substr(space + 1));
  }
  std::string arms;
  for (const auto& [first, words] : seconds) {
    arms += "    " + first +
            ") if ((at + 1 < COMP_CWORD)); then command=\"$command ${COMP_WORDS[at + 1]}\"; "
            "((at++)); else _pwx36_editor_offer \"" +
            words + "\" \"$cur\"; return; fi ;;\n";
  }
  return arms;
}

}  // namespace

std::string ArmPattern(std::string_view commandName) {
  const std::string name(commandName);
  return name.find(' ') == std::string::npos ? name : "\"" + name + "\"";
}

std::string BashCompletion() {
  const ProgramDefinition& program = Program();
  std::string commands = "help";
  for (const std::string& word : FirstWords()) commands += " " + word;
  std::string programOptions = "--from-desktop";
  for (const OptionDefinition& option : program.Options)
    programOptions += " --" + std::string(option.Long);
  const std::string values = ValueOptionsPattern();

  return "# bash completion for " + std::string(program.Name) +
         ", written from its command tables at build time.\n"
         "\n"
         "# Adds the words of kind $1 (folder, file, command, or a list of words) that start\n"
         "# with $2 to COMPREPLY.\n"
         "_pwx36_editor_offer() {\n"
         "  case $1 in\n"
         "    folder) compopt -o filenames 2>/dev/null\n"
         "      mapfile -t -O \"${#COMPREPLY[@]}\" COMPREPLY < <(compgen -d -- \"$2\") ;;\n"
         "    file) compopt -o filenames 2>/dev/null\n"
         "      mapfile -t -O \"${#COMPREPLY[@]}\" COMPREPLY < <(compgen -f -- \"$2\") ;;\n"
         "    none) ;;\n"
         "    command) _pwx36_editor_offer \"" +
         commands +
         "\" \"$2\" ;;\n"
         "    *) mapfile -t -O \"${#COMPREPLY[@]}\" COMPREPLY < <(compgen -W \"$1\" -- \"$2\") ;;\n"
         "  esac\n"
         "}\n"
         "\n"
         "_pwx36_editor() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}\n"
         "  local i command=\"\" at=0 options=\"\" kinds=() n=0\n"
         "  COMPREPLY=()\n"
         "  # The command: the first word that is neither an option nor an option's value.\n"
         "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
         "    case ${COMP_WORDS[i]} in\n"
         "      " +
         values +
         ") ((i++)) ;;\n"
         "      -*) ;;\n"
         "      *) command=${COMP_WORDS[i]} at=$i; break ;;\n"
         "    esac\n"
         "  done\n"
         "  case $prev in\n" +
         ValueArms() +
         "  esac\n"
         "  if [[ -z $command ]]; then\n"
         "    if [[ $cur == -* ]]; then\n"
         "      _pwx36_editor_offer \"" +
         programOptions +
         "\" \"$cur\"\n"
         "    else\n"
         "      _pwx36_editor_offer command \"$cur\"\n"
         "      _pwx36_editor_offer folder \"$cur\"\n"
         "    fi\n"
         "    return\n"
         "  fi\n"
         "  case $command in\n" +
         SecondWordArms() +
         "  esac\n"
         "  case $command in\n"
         "    help) options=\"\" kinds=(command) ;;\n" +
         CommandArms() +
         "    *) return ;;\n"
         "  esac\n"
         "  if [[ $cur == -* ]]; then\n"
         "    _pwx36_editor_offer \"$options\" \"$cur\"\n"
         "    return\n"
         "  fi\n"
         "  # Which argument this word is: count those after the command.\n"
         "  for ((i = at + 1; i < COMP_CWORD; i++)); do\n"
         "    case ${COMP_WORDS[i]} in\n"
         "      " +
         values +
         ") ((i++)) ;;\n"
         "      -*) ;;\n"
         "      *) ((n++)) ;;\n"
         "    esac\n"
         "  done\n"
         "  ((n < ${#kinds[@]})) && _pwx36_editor_offer \"${kinds[n]}\" \"$cur\"\n"
         "  return 0\n"
         "}\n"
         "\n"
         "complete -F _pwx36_editor " +
         std::string(program.Name) + "\n";
}

}  // namespace pwx
