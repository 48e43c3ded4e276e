// timeline, render and accept on a real folder: what they print, their exit statuses, and
// the arguments they refuse.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "commands/CommandRegistry.h"
#include "common/FileReading.h"
#include "common/tests/TempFolder.h"
#include "devicefiles/tests/ProjectFileBytes.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;
using testing::WriteFile;

struct Ran {
  int status;
  std::string out, err;
};

// A saved project in <temp>/P: clip 1 twice in DI1 with the alarm output, DI2 clip 2 whose
// copy is missing.
class SequenceCommands : public ::testing::Test {
 public:
  void SetUp() override {
    fs::create_directories(dir / "P");
    const std::string clip = std::string(PWX_CLIP_FIXTURES) + "/mpeg1-stereo-cbr.mp3";
    fs::copy_file(clip, dir / "one.mp3");
    fs::copy_file(clip, dir / "P/001.mp3");
    WriteFile(dir / "P/m3fn.txt",
              testing::NameMapBytes({{1, dir / "one.mp3"}, {2, dir / "two.mp3"}}));
    WriteFile(dir / "P/plist.cfg",
              testing::PlayListBytes().Saved().Slot(0, {1}, 2, true).Slot(1, {2}).Bytes());
  }
  Ran Run(const char* name, std::vector<std::string> arguments,
          std::map<std::string, std::string, std::less<>> options = {}) {
    std::ostringstream out, err;
    CommandContext context{out, err, dir.Path(), false, false, nullptr, {}};
    CommandInput input;
    input.Arguments = std::move(arguments);
    input.Options = std::move(options);
    const CommandExit status = FindCommand(name)->Run(input, context);
    return {static_cast<int>(status), out.str(), err.str()};
  }
  testing::TempFolder dir;
};

TEST_F(SequenceCommands, TimelinePrintsTheSegmentsFirstSoundAndTotal) {
  const Ran di1 = Run("timeline", {dir / "P", "di1"});
  EXPECT_EQ(di1.status, 0) << di1.err;
  EXPECT_EQ(di1.out,
            "DI1: repeat 2, alarm output switched\n"
            "  0.00 s - 1.00 s  pass 1 #1 001 one\n"
            "  1.00 s - 2.00 s  pass 2 #1 001 one\n"
            "  first sound at 0.0 s, total 2.0 s\n");
  const Ran all = Run("timeline", {dir / "P"}, {{"json", ""}});
  EXPECT_EQ(all.status, 1);  // DI2's copy is missing
  EXPECT_NE(all.out.find("\"total_ms\": 2000"), std::string::npos) << all.out;
  EXPECT_NE(all.out.find("has no copy 002.mp3"), std::string::npos) << all.out;
}

TEST_F(SequenceCommands, RenderWritesTheWavAndRefusesTheProjectsFiles) {
  const Ran ok = Run("render", {dir / "P", "DI1"}, {{"output", dir / "di1.wav"}, {"quiet", ""}});
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_EQ(ReadFile(dir / "di1.wav", 4).Bytes, "RIFF");
  EXPECT_EQ(Run("render", {dir / "P", "DI2"}, {{"output", dir / "di2.wav"}}).status, 1);
  EXPECT_FALSE(fs::exists(dir / "di2.wav"));
  EXPECT_EQ(Run("render", {dir / "P", "DI1"}, {{"output", dir / "P/001.mp3"}}).status, 2);
  EXPECT_EQ(Run("render", {dir / "P", "bI3"}, {{"output", dir / "x.wav"}}).status, 2);
}

TEST_F(SequenceCommands, AcceptRecordsAndRefusesWhatItCannotUse) {
  const Ran ok = Run("accept", {dir / "P", "DI1", "passed"}, {{"witness", "A. Witness"}});
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_NE(ok.out.find("Tested: 1 of 4 inputs."), std::string::npos) << ok.out;
  const Ran unknown = Run("accept", {dir / "P", "DI7", "passed"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err, "\"DI7\" is not an input of mode 0; it has DI1 to DI4.\n");
  EXPECT_EQ(Run("accept", {dir / "P", "DI1", "ok"}).status, 2);
  WriteFile(dir / "P/acceptance.json", "{broken");
  EXPECT_EQ(Run("accept", {dir / "P", "DI2", "failed"}).status, 2);
  EXPECT_EQ(ReadFile(dir / "P/acceptance.json", 100).Bytes, "{broken");
}

TEST_F(SequenceCommands, CheckTakesTheTriggerLimit) {
  const Ran limited = Run("check", {dir / "P"}, {{"max-trigger", "1"}});
  EXPECT_NE(limited.out.find("warning: DI1: DI1 plays for 2.0 s each time it fires"),
            std::string::npos)
      << limited.out;
  EXPECT_EQ(Run("check", {dir / "P"}, {{"max-trigger", "soon"}}).status, 2);
}

}  // namespace
}  // namespace pwx
