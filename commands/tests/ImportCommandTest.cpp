// The import from the command line: the line it prints is true to what was done, and tells
// the clip's loudness only when it was levelled or asked for.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "audio/tests/IntakeTestSupport.h"
#include "commands/ImportCommand.h"
#include "common/tests/TempFolder.h"
#include "devicefiles/tests/ProjectFileBytes.h"

namespace pwx {
namespace {

using ::testing::MatchesRegex;

struct ImportCase {
  const char* name;
  const char* file;  // a fixture, or "silence.wav" made by the test
  bool level;
  bool measure;
  const char* line;  // after "Imported <file> as clip 001: "
};

void PrintTo(const ImportCase& c, std::ostream* os) {
  *os << c.name;
}

const ImportCase kImports[] = {
    {"Mp3Copied", "quiet-24k.mp3", false, false, "copied, 0:03.0, 24000 Hz, mono"},
    {"Mp3CopiedAndMeasured", "quiet-24k.mp3", false, true,
     "copied, 0:03.0, 24000 Hz, mono, -3[0-9]\\.[0-9] LUFS, true peak -[0-9]+\\.[0-9] dBTP"},
    {"WaveConverted", "speech.wav", false, false, "converted, 0:03.0, 44100 Hz, mono"},
    {"Layer2NamedMp3Converted", "layer2.mp3", false, false, "converted, 0:02.0, 44100 Hz, stereo"},
    {"SpeechLevelled", "plosives.flac", true, false,
     "levelled to -1[56]\\.[0-9] LUFS \\(before -19\\.[0-9], gain \\+[0-9.]+ dB, limited "
     "[0-9.]+ dB\\), 0:02\\.[0-9], 44100 Hz, mono"},
    {"SilenceNotLevelled", "silence.wav", true, false,
     "converted, not levelled: silent, 0:01.0, 44100 Hz, mono"},
};

class ImportLine : public ::testing::TestWithParam<ImportCase> {
 protected:
  void SetUp() override { std::filesystem::create_directories(dir / "P"); }
  testing::TempFolder dir;
};

TEST_P(ImportLine, SaysWhatWasDone) {
  const ImportCase& c = GetParam();
  std::string source = testing::IntakeFixture(c.file);
  if (std::string(c.file) == "silence.wav") {
    source = dir / "silence.wav";
    testing::WriteWav16(source, 22050, 1, std::vector<float>(22050));
  }
  std::ostringstream out, err;
  ImportRequest request;
  request.Folder = dir / "P";
  request.Number = 1;
  request.File = source;
  request.Level = c.level;
  request.Measure = c.measure;
  request.StartFolder = dir.Path();
  ASSERT_EQ(ImportClipCommand(request, out, err), CommandExit::Success) << err.str();
  const std::string prefix = "Imported " + source + " as clip 001: ";
  ASSERT_EQ(out.str().substr(0, prefix.size()), prefix) << out.str();
  EXPECT_THAT(out.str().substr(prefix.size()), MatchesRegex(std::string(c.line) + "\n"));
  EXPECT_EQ(err.str(), "");
}

INSTANTIATE_TEST_SUITE_P(Sources, ImportLine, ::testing::ValuesIn(kImports),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pwx
