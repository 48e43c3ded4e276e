// Importing sounds of other formats, levelling, and what the audio grid tells of a clip,
// through the Editor with real fixtures made by assets/intake/make-intake-fixtures.sh.
#include <gmock/gmock.h>

#include "audio/ClipProbe.h"
#include "audio/tests/IntakeTestSupport.h"
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

// Each clip's line tells what was done to it; a clip that has no loudness to bring to the
// target is named as such and not counted as levelled, here or in the status line.
TEST_F(IntakeFlow, LevelAllClipsTellsWhatWasDoneToEachClip) {
  testing::WriteWav16(start / "silence.wav", 22050, 1, std::vector<float>(22050));
  editor->DropFiles(1, {Fixture("speech.wav"), Fixture("noise.ogg"), start / "silence.wav"});
  host.yesNoAnswers = {true};
  editor->LevelAllClips();
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  const std::string& text = host.messageBoxes[0].text;
  EXPECT_EQ(text.substr(0, 23), "Levelled 2 of 3 clips.\n") << text;
  EXPECT_NE(text.find("001 speech: levelled to -16.0 LUFS (before -"), std::string::npos) << text;
  EXPECT_NE(text.find("002 noise: levelled to -16.0 LUFS (before -1"), std::string::npos) << text;
  EXPECT_NE(text.find("003 silence: not levelled: silent\n"), std::string::npos) << text;
  EXPECT_EQ(editor->StatusText(), "Levelled 2 of 3 clips to -16 LUFS");
  EXPECT_NE(editor->ClipToolTip(2).find("-16.0 LUFS"), std::string::npos);
}

// What decides between copying and converting is what the file holds, not its name.
TEST_F(IntakeFlow, SourcesNamedMp3ThatAreNoMp3AreConverted) {
  for (const auto& [row, source] :
       {std::pair{1, std::string(PWX_CLIP_FIXTURES) + "/wave-named.mp3"},
        std::pair{2, Fixture("layer2.mp3")}}) {
    Import(row, source);
    ASSERT_TRUE(host.errorBoxes.empty()) << host.errorBoxes.front();
    const ClipFacts facts = ProbeClipFile(Copy(row));
    EXPECT_TRUE(facts.PlayableMp3()) << source;
    EXPECT_EQ(facts.Layer, 3) << source;
    EXPECT_NE(ReadWhole(Copy(row)), ReadWhole(source));
  }
  WriteFile(start / "clip.wav", ReadWhole(Fixture("quiet-24k.mp3")));
  Import(3, start / "clip.wav");
  EXPECT_EQ(ReadWhole(Copy(3)), ReadWhole(Fixture("quiet-24k.mp3")));
}

// An import tells the clip's format at once, from its frame headers; its loudness is measured
// beside the window afterwards, and a measure of a clip replaced or removed meanwhile is
// thrown away.
TEST_F(IntakeFlow, LoudnessIsMeasuredAfterTheImportAndNeverOfAnOldClip) {
  Import(4, Fixture("quiet-24k.mp3"));
  const std::string tip = editor->ClipToolTip(4);
  EXPECT_EQ(tip.substr(0, 24), "0:03.0, 24000 Hz, mono, ") << tip;
  editor->WaitForMeasures();
  EXPECT_THAT(editor->ClipToolTip(4), ::testing::MatchesRegex(".*, -3[0-9]\\.[0-9] LUFS"));

  Import(5, Fixture("quiet-24k.mp3"));
  Import(5, Fixture("speech.wav"));
  Import(6, Fixture("quiet-24k.mp3"));
  editor->StringGrid1Click(6, 1);
  editor->SpeedButton6Click();
  editor->WaitForMeasures();
  EXPECT_THAT(editor->ClipToolTip(5),
              ::testing::MatchesRegex("0:03.0, 44100 Hz, mono, -1[0-9]\\.[0-9] LUFS"));
  EXPECT_EQ(editor->ClipToolTip(6), "");
}

// With levelling on, the status line says what levelling made of the clip imported.
TEST_F(IntakeFlow, LevelledImportSaysWhatLevellingDid) {
  editor->SetLevelImports(true);
  Import(7, Fixture("plosives.flac"));
  EXPECT_THAT(
      editor->StatusText(),
      ::testing::MatchesRegex("Clip 007 levelled to -1[56]\\.[0-9] LUFS \\(before -19\\..*"));
  EXPECT_THAT(editor->StatusText(), ::testing::HasSubstr("dB, limited "));
  testing::WriteWav16(start / "silence.wav", 22050, 1, std::vector<float>(22050));
  Import(8, start / "silence.wav");
  EXPECT_EQ(editor->StatusText(), "Clip 008 not levelled: silent");
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

  const Outcome refusal = editor->ImportClip(4, start / "a\nb.wav");
  ASSERT_TRUE(refusal.IsRefused());
  EXPECT_NE(refusal.Why().find("line break"), std::string::npos);
  EXPECT_FALSE(FileExists(ProjectDir("Q") + "004.mp3"));
}

}  // namespace
}  // namespace pwx
