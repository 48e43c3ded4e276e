#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "textform/ProjectDiff.h"
#include "textform/ProjectTextJson.h"

namespace pwx {
namespace {

ProjectText Project() {
  ProjectText text;
  text.Library = {
      TextClip{3, "Gas leak", "/s/Gas leak.mp3", 100, std::string(64, 'a'), 5.2, "", -23.4},
      TextClip{5, "All clear", "/s/All clear.mp3", 100, std::string(64, 'b'), 3.0, "", {}}};
  text.Slots[1] = TextSlot{{3}, 2, false};
  return text;
}

std::vector<std::string> Lines(const ProjectDiff& diff) {
  std::vector<std::string> lines;
  for (const auto& line : diff.Lines) lines.push_back(line.Text);
  return lines;
}

TEST(ProjectDiff, sameProjectsAreEqual) {
  EXPECT_EQ(DiffProjectTexts(Project(), Project()).Outcome(), DiffOutcome::Equal);
}

TEST(ProjectDiff, saysEachDifferenceInThePlayersTerms) {
  ProjectText b = Project();
  b.Settings.DeviceId = "13";
  b.Slots[1] = TextSlot{{5}, 3, true};
  b.Library[0].Sha256 = std::string(64, 'c');
  b.Library[0].Lufs = -16.0;
  b.Library.push_back(TextClip{7, "Exit", "/s/Exit.mp3", {}, {}, {}, "", {}});
  b.Image.Bytes[4] = 1;
  b.Missing = {"rtu.cfg"};
  ClipAudioComparer audio = [](int) {
    ClipAudioComparison compared;
    compared.What = ClipAudioComparison::Kind::AudioDiffers;
    compared.SecondsB = 5.2;
    return std::optional<ClipAudioComparison>(compared);
  };
  const ProjectDiff diff = DiffProjectTexts(Project(), b, audio);
  EXPECT_EQ(Lines(diff),
            (std::vector<std::string>{
                "Device ID: 1 -> 13", "DI2 #1: 003 Gas leak -> 005 All clear", "DI2 repeat: 2 -> 3",
                "DI2 alarm output: no -> yes", "play list bytes 0004: 00000000 -> 01000000",
                "clip 003 Gas leak: audio differs (-23.4 -> -16.0 LUFS, 0:05.2 -> 0:05.2)",
                "clip 007: only in B", "rtu.cfg: missing in B only"}));
  EXPECT_EQ(diff.Outcome(), DiffOutcome::Different);
  const std::string json = ProjectDiffJson(diff);
  EXPECT_NE(json.find("\"outcome\": \"different\""), std::string::npos);
  EXPECT_NE(json.find("\"subject\": \"Device ID\",\n      \"a\": \"1\",\n      \"b\": \"13\""),
            std::string::npos)
      << json;
}

TEST(ProjectDiff, tagsOnlyAndTroubleAreTold) {
  ProjectText b = Project();
  b.Library[0].Sha256 = std::string(64, 'c');
  b.Library[1].Sha256 = std::string(64, 'd');
  ClipAudioComparer audio = [](int number) {
    ClipAudioComparison compared;
    if (number == 3) {
      compared.What = ClipAudioComparison::Kind::SameAudio;
    } else {
      compared.Trouble = "Cannot open file";
    }
    return std::optional<ClipAudioComparison>(compared);
  };
  const ProjectDiff diff = DiffProjectTexts(Project(), b, audio);
  EXPECT_EQ(Lines(diff),
            (std::vector<std::string>{"clip 003 Gas leak: tags only (the audio is the same)",
                                      "clip 005 All clear: bytes differ"}));
  EXPECT_EQ(diff.Outcome(), DiffOutcome::Trouble);
}

}  // namespace
}  // namespace pwx
