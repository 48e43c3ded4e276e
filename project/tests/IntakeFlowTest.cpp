// Importing sounds of other formats, levelling, and what the audio grid tells of a clip,
// through the Editor with real fixtures made by assets/intake/make-intake-fixtures.sh.
#include "audio/ClipProbe.h"
#include "common/IntegerText.h"
#include "devicefiles/tests/ProjectFileBytes.h"
#include "project/tests/EditorFixture.h"

namespace pwx {
namespace {

using testing::ReadWhole;
using testing::WriteFile;

std::string Fixture(const std::string& name) {
  return std::string(PWX_INTAKE_FIXTURES) + "/" + name;
}

class IntakeFlow : public testing::EditorTest {
 protected:
  void SetUp() override { StartWithProject("P"); }
  std::string Copy(int clip) const { return ProjectDir("P") + ThreeDigits(clip) + ".mp3"; }
  void Import(int row, const std::string& file) {
    editor->StringGrid1Click(row, 1);
    host.fileAnswers.push_back(file);
    editor->StringGrid1DblClick();
  }
};

TEST_F(IntakeFlow, WaveBecomesAnMp3CopyAndTheMapKeepsTheSource) {
  Import(3, Fixture("speech.wav"));
  ASSERT_TRUE(host.errorBoxes.empty()) << host.errorBoxes.front();
  const ClipFacts facts = ProbeClipFile(Copy(3));
  EXPECT_TRUE(facts.PlayableMp3());
  EXPECT_EQ(facts.SampleRate, 44100);
  EXPECT_EQ(facts.Channels, 1);
  EXPECT_EQ(editor->GridCell(3, 1), "speech");
  EXPECT_NE(ReadWhole(ProjectDir("P") + "m3fn.txt").find(Fixture("speech.wav")), std::string::npos);
  EXPECT_EQ(editor->ClipToolTip(3).substr(0, 22), "0:03.0, 44100 Hz, mono");
}

TEST_F(IntakeFlow, Mp3StaysAByteCopyUnlessLevelled) {
  const std::string source = Fixture("quiet-24k.mp3");
  Import(4, source);
  EXPECT_EQ(ReadWhole(Copy(4)), ReadWhole(source));
  editor->SetLevelImports(true);
  EXPECT_EQ(host.preferences[kLevelImportsPreference], "1");
  Import(5, source);
  EXPECT_NE(ReadWhole(Copy(5)), ReadWhole(source));
  EXPECT_NE(editor->ClipToolTip(5).find("-16.0 LUFS"), std::string::npos) << editor->ClipToolTip(5);
}

// A refused or cancelled conversion leaves the row's old clip, its copy and the name map.
TEST_F(IntakeFlow, RefusalOrCancelKeepsTheOldClip) {
  Import(6, Fixture("mono.wav"));
  const std::string copy = ReadWhole(Copy(6));
  const std::string map = ReadWhole(ProjectDir("P") + "m3fn.txt");

  Import(6, Fixture("text.wav"));
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find("is not an audio file this editor can read"),
            std::string::npos);
  host.cancelWork = true;
  Import(6, Fixture("tone.flac"));
  EXPECT_EQ(editor->StatusText(), "Import cancelled");
  EXPECT_EQ(host.errorBoxes.size(), 1u);

  EXPECT_EQ(ReadWhole(Copy(6)), copy);
  EXPECT_EQ(ReadWhole(ProjectDir("P") + "m3fn.txt"), map);
  EXPECT_EQ(editor->GridCell(6, 1), "mono");
}

TEST_F(IntakeFlow, LevelAllClipsTellsLoudnessBeforeAndAfter) {
  editor->DropFiles(1, {Fixture("speech.wav"), Fixture("noise.ogg")});
  host.yesNoAnswers = {true};
  editor->LevelAllClips();
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  const std::string& text = host.messageBoxes[0].text;
  EXPECT_EQ(text.substr(0, 23), "Levelled 2 of 2 clips.\n") << text;
  EXPECT_NE(text.find("001 speech: -"), std::string::npos) << text;
  EXPECT_NE(text.find(" -> -16.0 LUFS"), std::string::npos) << text;
  EXPECT_NE(editor->ClipToolTip(2).find("-16.0 LUFS"), std::string::npos);
}

// What was measured belongs to the project it was measured in; a path with a line break
// would shift every line of the name map after it.
TEST_F(IntakeFlow, ToolTipsGoWithTheirProjectAndLineBreaksAreRefused) {
  Import(3, Fixture("mono.wav"));
  ASSERT_FALSE(editor->ClipToolTip(3).empty());
  std::filesystem::create_directories(start / "Q");
  WriteFile(start / "Q/m3fn.txt", testing::NameMapBytes({{3, start / "other.mp3"}}));
  editor->OpenProjectFolder(ProjectDir("Q"));
  EXPECT_EQ(editor->GridCell(3, 1), "other");
  EXPECT_EQ(editor->ClipToolTip(3), "");

  const auto refusal = editor->ImportClip(4, start / "a\nb.wav");
  ASSERT_TRUE(refusal);
  EXPECT_NE(refusal->find("line break"), std::string::npos);
  EXPECT_FALSE(FileExists(ProjectDir("Q") + "004.mp3"));
}

}  // namespace
}  // namespace pwx
