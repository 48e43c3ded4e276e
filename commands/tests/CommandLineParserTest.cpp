// The command line read against the commands' tables: what runs, what is shown, what is
// refused in one line, and what opens the window.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "commands/CommandHelp.h"
#include "commands/CommandLineParser.h"
#include "commands/CommandRegistry.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

using Words = std::vector<std::string>;

ParsedCommandLine Parse(const Words& words, bool folderExists = false) {
  return ParseCommandLine(words, [folderExists](const std::string&) { return folderExists; });
}

std::string ErrorOf(const ParsedCommandLine& parsed) {
  const auto* error = std::get_if<UsageError>(&parsed);
  return error ? error->Message : "(no usage error)";
}

struct RefusalCase {
  const char* name;
  Words words;
  std::string message;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
  *os << c.name;
}

class Refusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, IsOneLineNamingTheHelpToRead) {
  EXPECT_EQ(ErrorOf(Parse(GetParam().words)), GetParam().message);
}

const std::string kDeployHelp = "; see 'pwx36-editor deploy --help'";
const std::string kProgramHelp = "; see 'pwx36-editor --help'";

INSTANTIATE_TEST_SUITE_P(
    Table, Refusal,
    ::testing::Values(
        RefusalCase{"UnknownOption",
                    {"deploy", "--x", "F", "D"},
                    "pwx36-editor: unknown option '--x' for deploy" + kDeployHelp},
        RefusalCase{"UnknownOptionBeforeTheCommand",
                    {"--x", "deploy", "F", "D"},
                    "pwx36-editor: unknown option '--x' for deploy" + kDeployHelp},
        RefusalCase{"UnknownShortOption",
                    {"deploy", "-z", "F", "D"},
                    "pwx36-editor: unknown option '-z' for deploy" + kDeployHelp},
        // Options of another command are unknown to this one: the tables say whose they are.
        RefusalCase{"OtherCommandsOption",
                    {"check", "--delete-stale"},
                    "pwx36-editor: unknown option '--delete-stale' for check; see "
                    "'pwx36-editor check --help'"},
        RefusalCase{"ReportOptionForImport",
                    {"import", "F", "1", "a.mp3", "--csv", "t.csv"},
                    "pwx36-editor: unknown option '--csv' for import; see "
                    "'pwx36-editor import --help'"},
        RefusalCase{
            "UnknownCommand", {"frob", "F"}, "pwx36-editor: unknown command 'frob'" + kProgramHelp},
        RefusalCase{"HelpOfAnUnknownCommand",
                    {"help", "frob"},
                    "pwx36-editor: unknown command 'frob'" + kProgramHelp},
        RefusalCase{"NoCommand", {"--"}, "pwx36-editor: no command given" + kProgramHelp},
        RefusalCase{"MissingArgument",
                    {"deploy", "F"},
                    "pwx36-editor: missing DEST for deploy" + kDeployHelp},
        RefusalCase{"ExtraArgument",
                    {"deploy", "F", "D", "E"},
                    "pwx36-editor: unexpected argument 'E' for deploy" + kDeployHelp},
        RefusalCase{"NumberThatIsNone",
                    {"import", "F", "three", "a.mp3"},
                    "pwx36-editor: NUMBER must be a whole number, not 'three' for import; see "
                    "'pwx36-editor import --help'"},
        RefusalCase{"RequiredOptionLeftOut",
                    {"report", "F"},
                    "pwx36-editor: missing -o FILE for report; see 'pwx36-editor report --help'"},
        RefusalCase{"ValueLeftOut",
                    {"report", "F", "-o"},
                    "pwx36-editor: missing FILE after '-o' for report; see "
                    "'pwx36-editor report --help'"},
        RefusalCase{"ValueForASwitch",
                    {"check", "--json=yes"},
                    "pwx36-editor: option '--json' takes no value for check; see "
                    "'pwx36-editor check --help'"},
        // A word from the command line is shown escaped, never raw to the terminal.
        RefusalCase{"HostileWord",
                    {"deploy", "--\x1b[2J", "F", "D"},
                    "pwx36-editor: unknown option '--\\x1b[2J' for deploy" + kDeployHelp}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, OptionsAndArgumentsStandInAnyOrderAndInEveryForm) {
  const auto parsed = Parse({"-q", "report", "--csv=t.csv", "F", "-oout.pdf"});
  const auto* run = std::get_if<RunCommand>(&parsed);
  ASSERT_NE(run, nullptr) << ErrorOf(parsed);
  EXPECT_EQ(run->Command->Name, "report");
  EXPECT_EQ(run->Input.Arguments, Words{"F"});
  EXPECT_EQ(run->Input.Value("output"), "out.pdf");
  EXPECT_EQ(run->Input.Value("csv"), "t.csv");
  EXPECT_TRUE(run->Input.Has("quiet"));
  EXPECT_FALSE(run->Input.Has("help"));
}

TEST(CommandLine, DashIsAnArgumentAndDoubleDashEndsTheOptions) {
  const auto report = Parse({"report", "-o", "-", "F"});
  ASSERT_TRUE(std::holds_alternative<RunCommand>(report)) << ErrorOf(report);
  EXPECT_EQ(std::get<RunCommand>(report).Input.Value("output"), "-");
  EXPECT_EQ(std::get<RunCommand>(report).Input.Arguments, Words{"F"});

  const auto check = Parse({"check", "--", "-odd folder"});
  ASSERT_TRUE(std::holds_alternative<RunCommand>(check)) << ErrorOf(check);
  EXPECT_EQ(std::get<RunCommand>(check).Input.Arguments, Words{"-odd folder"});
}

TEST(CommandLine, OptionalArgumentsMayBeLeftOut) {
  const auto parsed = Parse({"check"});
  ASSERT_TRUE(std::holds_alternative<RunCommand>(parsed)) << ErrorOf(parsed);
  EXPECT_TRUE(std::get<RunCommand>(parsed).Input.Arguments.empty());
}

std::string TextOf(const ParsedCommandLine& parsed) {
  const auto* text = std::get_if<ShowText>(&parsed);
  return text ? text->Text : "(no text)";
}

TEST(CommandLine, ACommandOfTwoWordsIsTakenWholeAndItsHelpFound) {
  const auto parsed = Parse({"-q", "site", "deploy", "S.csv", "--all", "/media/card"});
  const auto* run = std::get_if<RunCommand>(&parsed);
  ASSERT_NE(run, nullptr) << ErrorOf(parsed);
  EXPECT_EQ(run->Command->Name, "site deploy");
  EXPECT_EQ(run->Input.Arguments, (Words{"S.csv", "/media/card"}));
  EXPECT_TRUE(run->Input.Has("all"));
  const std::string help = CommandHelp(*FindCommand("site check"));
  EXPECT_EQ(TextOf(Parse({"help", "site", "check"})), help);
  EXPECT_EQ(TextOf(Parse({"site", "check", "--help"})), help);
  EXPECT_NE(ErrorOf(Parse({"site", "S.csv"}))
                .find("'site' takes a second word: 'site check', 'site deploy' or 'site report'"),
            std::string::npos)
      << ErrorOf(Parse({"site", "S.csv"}));
}

TEST(CommandLine, EveryWayToAskForACommandsHelpShowsThatHelp) {
  for (const CommandDefinition* command : Commands()) {
    const std::string name(command->Name);
    const std::string help = CommandHelp(*command);
    EXPECT_EQ(TextOf(Parse({"help", name})), help) << name;
    EXPECT_EQ(TextOf(Parse({name, "--help"})), help) << name;
    // Asked for help, wrong or missing arguments do not matter.
    EXPECT_EQ(TextOf(Parse({name, "-h", "--bogus"})), help) << name;
    EXPECT_EQ(help.rfind("Usage: pwx36-editor " + name + " ", 0), 0u) << help;
  }
}

TEST(CommandLine, TheProgramsHelpHelpAllAndVersion) {
  const std::string help = TextOf(Parse({"--help"}));
  EXPECT_EQ(help.rfind("Usage: pwx36-editor [--from-desktop] [FOLDER]\n", 0), 0u) << help;
  EXPECT_EQ(TextOf(Parse({"-h"})), help);
  EXPECT_EQ(TextOf(Parse({"help"})), help);

  const std::string all = TextOf(Parse({"--help-all"}));
  EXPECT_EQ(all.rfind(help, 0), 0u);
  for (const CommandDefinition* command : Commands()) {
    EXPECT_NE(all.find(CommandHelp(*command)), std::string::npos) << command->Name;
  }
  EXPECT_EQ(TextOf(Parse({"--version"})), "pwx36-editor " PWX_VERSION "\n");
}

TEST(CommandLine, WhatOpensTheWindow) {
  EXPECT_TRUE(std::holds_alternative<OpenWindow>(Parse({})));
  EXPECT_TRUE(std::holds_alternative<OpenWindow>(Parse({"--from-desktop"})));
  EXPECT_TRUE(std::holds_alternative<OpenWindow>(Parse({"/projects/A"}, true)));
  EXPECT_TRUE(std::holds_alternative<OpenWindow>(Parse({"--from-desktop", "/projects/A"}, true)));
  // A word that is no folder is an unknown command; a command's name is the command even
  // when a folder of that name is here.
  EXPECT_EQ(ErrorOf(Parse({"/projects/A"}, false)),
            "pwx36-editor: unknown command '/projects/A'" + kProgramHelp);
  EXPECT_TRUE(std::holds_alternative<RunCommand>(Parse({"check"}, true)));
  EXPECT_TRUE(std::holds_alternative<ShowText>(Parse({"help"}, true)));
}

// The window's program is told a project folder by the same rule: a folder that is named as a
// command, here, is the command's and not the window's.
TEST(CommandLine, TheWindowTakesNoFolderNamedAsACommand) {
  testing::TempFolder dir;  // the current folder until the test ends
  dir.MakeCurrent();
  for (const CommandDefinition* command : Commands()) {
    // A command of two words ("site check") starts with its first.
    const std::string full(command->Name);
    const std::string name = full.substr(0, full.find(' '));
    std::filesystem::create_directory(name);
    EXPECT_FALSE(IsFolderOrPlayList(name)) << name;
    EXPECT_TRUE(IsFolderOrPlayList("./" + name)) << name;
  }
}

}  // namespace
}  // namespace pwx
