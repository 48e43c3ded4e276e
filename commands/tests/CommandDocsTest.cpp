// The commands' tables, and the help, the manual page and the bash completion made from
// them: each names every command, argument and option the tables hold.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "commands/BashCompletion.h"
#include "commands/CommandHelp.h"
#include "commands/CommandRegistry.h"
#include "commands/ManPage.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

TEST(CommandTables, NamesAreUniqueAndEveryCommandSaysItsExitStatuses) {
  std::set<std::string_view> commands;
  for (const CommandDefinition* command : Commands()) {
    EXPECT_TRUE(commands.insert(command->Name).second) << command->Name;
    EXPECT_EQ(FindCommand(command->Name), command);
    EXPECT_NE(command->Run, nullptr) << command->Name;
    EXPECT_FALSE(command->Summary.empty()) << command->Name;
    EXPECT_NE(command->Summary.back(), '.') << command->Name;
    std::set<std::string_view> longs;
    std::set<char> shorts;
    for (const OptionDefinition& option : AllOptionsOf(*command)) {
      EXPECT_TRUE(longs.insert(option.Long).second) << command->Name << " --" << option.Long;
      if (option.Short != 0) {
        EXPECT_TRUE(shorts.insert(option.Short).second) << command->Name << " -" << option.Short;
      }
    }
    bool optional = false;
    for (const ArgumentDefinition& argument : command->Arguments) {
      EXPECT_TRUE(argument.Optional || !optional) << command->Name << ": only the last may be "
                                                  << "left out";
      optional = argument.Optional;
    }
    std::set<int> statuses;
    for (const ExitDefinition& status : command->ExitStatuses) statuses.insert(status.Status);
    EXPECT_TRUE(statuses.count(0) && statuses.count(2)) << command->Name;
  }
  EXPECT_EQ(FindCommand("help"), nullptr);
  EXPECT_EQ(FindCommand("Check"), nullptr);
}

// Every line of a help fits a terminal of 80 columns.
void ExpectLinesFit(const std::string& text) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_LE(line.size(), 80u) << line;
  }
}

TEST(CommandHelpText, NamesEveryArgumentAndOptionInLinesThatFit) {
  ExpectLinesFit(ProgramHelp());
  for (const CommandDefinition* command : Commands()) {
    const std::string help = CommandHelp(*command);
    ExpectLinesFit(help);
    for (const ArgumentDefinition& argument : command->Arguments) {
      EXPECT_NE(help.find("  " + std::string(argument.Name) + "  "), std::string::npos)
          << command->Name << " " << argument.Name;
    }
    for (const OptionDefinition& option : AllOptionsOf(*command)) {
      EXPECT_NE(help.find(OptionLabel(option)), std::string::npos)
          << command->Name << " " << option.Long;
    }
    EXPECT_NE(ProgramHelp().find("  " + std::string(command->Name) + "  "), std::string::npos);
  }
}

TEST(CommandHelpText, WrapsAtWordsAndIndentsTheFollowingLines) {
  EXPECT_EQ(Wrapped("one two three four", 2, 9), "one two\n  three\n  four\n");
  EXPECT_EQ(Wrapped("a unbreakablewordhere b", 0, 8), "a\nunbreakablewordhere\nb\n");
  EXPECT_EQ(Wrapped("", 4, 80), "\n");
}

TEST(ManPageText, HoldsEveryCommandAndOptionAndEscapesRoff) {
  const std::string page = ManPage("2026-12-08");
  EXPECT_EQ(page.find(".TH PWX36\\-EDITOR 1 2026\\-12\\-08 \"pwx36\\-editor " PWX_VERSION "\""),
            page.find(".TH"));
  for (const char* section : {".SH NAME", ".SH SYNOPSIS", ".SH DESCRIPTION", ".SH COMMANDS",
                              ".SH \"EXIT STATUS\"", ".SH FILES"}) {
    EXPECT_NE(page.find(section), std::string::npos) << section;
  }
  for (const CommandDefinition* command : Commands()) {
    EXPECT_NE(page.find(".SS " + RoffText(command->Name) + "\n"), std::string::npos);
    for (const OptionDefinition& option : AllOptionsOf(*command)) {
      EXPECT_NE(page.find("\\fB" + RoffText("--" + std::string(option.Long)) + "\\fR"),
                std::string::npos)
          << command->Name << " " << option.Long;
    }
  }
  // Each line of text is either a request or plain text: none starts with a dot or a quote
  // unless it is a request the page means.
  EXPECT_EQ(RoffText(".hidden"), "\\&.hidden");
  EXPECT_EQ(RoffText("'quote"), "\\&'quote");
  EXPECT_EQ(RoffText("a\\b-c"), "a\\eb\\-c");
}

TEST(BashCompletionText, OffersEveryCommandAndOptionAndIsValidBash) {
  const std::string script = BashCompletion();
  for (const CommandDefinition* command : Commands()) {
    EXPECT_NE(script.find("    " + ArmPattern(command->Name) + ") options=\""), std::string::npos)
        << command->Name;
    for (const OptionDefinition& option : AllOptionsOf(*command)) {
      EXPECT_NE(script.find("--" + std::string(option.Long)), std::string::npos) << option.Long;
    }
  }
  EXPECT_NE(script.find("complete -F _pwx36_editor pwx36-editor\n"), std::string::npos);

  testing::TempFolder dir;
  const std::string file = dir / "pwx36-editor.bash";
  std::ofstream(file) << script;
  if (std::system("command -v bash >/dev/null 2>&1") != 0) GTEST_SKIP() << "skipped: no bash";
  EXPECT_EQ(std::system(("bash -n '" + file + "'").c_str()), 0);
}

// What the completion offers after the words typed in `here`, as bash would run it.
std::string Offered(const std::string& script, const std::string& words, int current,
                    const std::string& here) {
  static const testing::TempFolder scripts;
  const std::string file = scripts / "completion.bash";
  std::ofstream(file) << script
                      << "cd \"$1\"; COMP_WORDS=(" + words +
                             "); COMP_CWORD=" + std::to_string(current) +
                             "; _pwx36_editor; printf '%s\\n' \"${COMPREPLY[@]}\" | sort\n";
  const std::string out = scripts / "offered.txt";
  const std::string call = "bash '" + file + "' '" + here + "' > '" + out + "' 2>/dev/null";
  if (std::system(call.c_str()) != 0) return "(bash failed)";
  std::ifstream in(out);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(BashCompletionText, CompletesCommandsOptionsAndFolders) {
  if (std::system("command -v bash >/dev/null 2>&1") != 0) GTEST_SKIP() << "skipped: no bash";
  testing::TempFolder dir;
  std::filesystem::create_directory(dir / "cards");
  std::ofstream(dir / "clip.mp3") << "x";
  const std::string script = BashCompletion();
  EXPECT_EQ(Offered(script, "pwx36-editor co", 1, dir.Path()), "compare\n");
  EXPECT_EQ(Offered(script, "pwx36-editor deploy --d", 2, dir.Path()),
            "--delete-stale\n--dry-run\n");
  // The card is a folder: no file is offered for it.
  EXPECT_EQ(Offered(script, "pwx36-editor deploy P c", 3, dir.Path()), "cards\n");
  EXPECT_EQ(Offered(script, "pwx36-editor import P 3 c", 4, dir.Path()), "cards\nclip.mp3\n");
  EXPECT_EQ(Offered(script, "pwx36-editor help rep", 2, dir.Path()), "report\n");
  EXPECT_EQ(Offered(script, "pwx36-editor site ch", 2, dir.Path()), "check\n");
  EXPECT_EQ(Offered(script, "pwx36-editor site deploy --f", 3, dir.Path()), "--force\n");
}

}  // namespace
}  // namespace pwx
