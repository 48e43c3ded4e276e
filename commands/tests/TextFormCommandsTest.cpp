// The project as text from the command line: show, apply, set and diff on real folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <vector>

#include "commands/CommandRegistry.h"
#include "common/tests/TempFolder.h"
#include "devicefiles/tests/ProjectFileBytes.h"

namespace pwx {
namespace {

struct ShowRun {
  int status;
  std::string out, err;
};

ShowRun RunCommand(const char* name, std::vector<std::string> arguments, bool json = false) {
  std::ostringstream out, err;
  CommandContext context{out, err, "", false, false, nullptr, {}};
  CommandInput input;
  input.Arguments = std::move(arguments);
  if (json) input.Options["json"] = "";
  const CommandExit status = FindCommand(name)->Run(input, context);
  return {static_cast<int>(status), out.str(), err.str()};
}

ShowRun Show(const std::string& target) {
  return RunCommand("show", {target});
}

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const char* const kPlayerFiles[] = {"plist.cfg", "rtu.cfg", "vol.cfg", "m3fn.txt"};

TEST(ApplyCommand, shownJsonAppliedToAFreshFolderGivesTheSameFiles) {
  testing::TempFolder dir;
  std::filesystem::create_directories(dir / "A");
  std::filesystem::create_directories(dir / "B");
  const ShowRun set = RunCommand("set", {dir / "A", "volume=7", "device-id=12", "DI2.repeat=3"});
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(set.out.rfind("Saved: plist.cfg, m3fn.txt, rtu.cfg, vol.cfg, Err1.mp3 in ", 0), 0u)
      << set.out;
  const ShowRun shown = RunCommand("show", {dir / "A"}, true);
  ASSERT_EQ(shown.status, 0) << shown.err;
  std::ofstream(dir / "A.json") << shown.out;
  std::filesystem::copy_file(dir / "A/Err1.mp3", dir / "B/Err1.mp3");
  const ShowRun applied = RunCommand("apply", {dir / "B", dir / "A.json"});
  ASSERT_EQ(applied.status, 0) << applied.err;
  for (const char* file : kPlayerFiles) {
    EXPECT_EQ(Bytes(dir / (std::string("B/") + file)), Bytes(dir / (std::string("A/") + file)))
        << file;
  }
}

TEST(ApplyCommand, textThatCannotBeReadChangesNoFile) {
  testing::TempFolder dir;
  std::filesystem::create_directories(dir / "P");
  ASSERT_EQ(RunCommand("set", {dir / "P", "volume=7"}).status, 0);
  std::map<std::string, std::string> before;
  for (const char* file : kPlayerFiles) before[file] = Bytes(dir / (std::string("P/") + file));
  std::ofstream(dir / "bad.json") << "{\"version\": 1, \"settings\": {\"volume\": 99}}";
  const std::vector<std::vector<std::string>> runs = {
      {"apply", dir / "bad.json"}, {"set", "volume=99"}, {"set", "nokey=1"}};
  for (const auto& run : runs) {
    const ShowRun result = RunCommand(run[0].c_str(), {dir / "P", run[1]});
    EXPECT_EQ(result.status, 2) << run[1];
    EXPECT_NE(result.err.find("Nothing was written."), std::string::npos) << result.err;
    EXPECT_TRUE(result.out.empty());
  }
  for (const char* file : kPlayerFiles) {
    EXPECT_EQ(Bytes(dir / (std::string("P/") + file)), before[file]) << file;
  }
}

TEST(ShowCommand, playerFileUnderGitsTemporaryNameIsShownAsText) {
  testing::TempFolder dir;
  const std::string path = dir / "Xa1b2c_plist.cfg";
  std::ofstream(path, std::ios::binary)
      << testing::PlayListBytes().Saved().Slot(1, {3, 5}, 2, true).Bytes();
  const ShowRun run = Show(path);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("slot 2 DI2: clips 003 005"), std::string::npos) << run.out;
}

TEST(ShowCommand, whatIsNeitherProjectNorPlayerFileCannotRun) {
  testing::TempFolder dir;
  std::ofstream(dir / "notes.txt") << "hello";
  for (const std::string& target : {dir / "notes.txt", dir / "missing"}) {
    const ShowRun run = Show(target);
    EXPECT_EQ(run.status, 2) << target;
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(run.err.empty());
  }
}

TEST(DiffCommand, exitsAsDiffDoes) {
  testing::TempFolder dir;
  for (const char* name : {"A", "B", "C"}) std::filesystem::create_directories(dir / name);
  ASSERT_EQ(RunCommand("set", {dir / "A", "volume=7"}).status, 0);
  ASSERT_EQ(RunCommand("set", {dir / "B", "volume=7"}).status, 0);
  ASSERT_EQ(RunCommand("set", {dir / "C", "volume=5"}).status, 0);
  std::ofstream(dir / "C.json") << RunCommand("show", {dir / "C"}, true).out;
  struct Case {
    std::string a, b;
    int status;
  };
  const Case cases[] = {{dir / "A", dir / "B", 0},
                        {dir / "A", dir / "C", 1},
                        {dir / "A", dir / "C.json", 1},
                        {dir / "C.json", dir / "C", 0},
                        {dir / "A", dir / "missing", 2}};
  for (const Case& c : cases) {
    const ShowRun run = RunCommand("diff", {c.a, c.b});
    EXPECT_EQ(run.status, c.status) << c.a << " " << c.b << "\n" << run.out << run.err;
    EXPECT_EQ(run.out.empty(), c.status != 1) << run.out;
  }
}

// A project built by commands alone, as a script builds one: three clips imported into an
// empty folder, the rest from a text form; the check finds no error and deploy takes it.
TEST(CommandScript, importApplyCheckDeployBuildsAProjectThePlayerTakes) {
  testing::TempFolder dir;
  std::filesystem::create_directories(dir / "P");
  std::filesystem::create_directories(dir / "card");
  const std::string fixtures = PWX_CLIP_FIXTURES;
  const char* const clips[] = {"mpeg1-stereo-cbr.mp3", "mpeg1-mono-vbr.mp3", "mpeg2-mono-cbr.mp3"};
  for (int n = 1; n <= 3; ++n) {
    const ShowRun imported =
        RunCommand("import", {dir / "P", std::to_string(n), fixtures + "/" + clips[n - 1]});
    ASSERT_EQ(imported.status, 0) << imported.err;
  }
  std::ofstream(dir / "site.json") << R"({"version": 1,
    "settings": {"device-id": "12", "baud": "9600", "volume": 7},
    "mode": 0,
    "slots": [{"slot": 1, "clips": [{"number": 1}, {"number": 2}], "repeat": 2,
               "alarm-output": true},
              {"slot": 2, "clips": [{"number": 3}]}]})";
  const ShowRun applied = RunCommand("apply", {dir / "P", dir / "site.json"});
  ASSERT_EQ(applied.status, 0) << applied.err;
  EXPECT_NE(applied.out.find("Saved: plist.cfg, m3fn.txt, rtu.cfg, vol.cfg, Err1.mp3 in "),
            std::string::npos)
      << applied.out;

  const ShowRun checked = RunCommand("check", {dir / "P"});
  EXPECT_EQ(checked.status, 0) << checked.out << checked.err;
  EXPECT_EQ(checked.out.find("error"), std::string::npos) << checked.out;
  const ShowRun deployed = RunCommand("deploy", {dir / "P", dir / "card"});
  EXPECT_EQ(deployed.status, 0) << deployed.out << deployed.err;
  EXPECT_NE(deployed.out.find("Card verified: 8 files, "), std::string::npos) << deployed.out;
  const ShowRun shown = RunCommand("show", {dir / "card"});
  EXPECT_NE(shown.out.find("001"), std::string::npos) << shown.out;
  EXPECT_EQ(RunCommand("diff", {dir / "P", dir / "card"}).status, 0);
}

}  // namespace
}  // namespace pwx
