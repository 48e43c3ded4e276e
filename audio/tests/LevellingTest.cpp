// Levelling measured by a meter that shares no code with the editor's: ffmpeg's EBU R 128
// filter. ffmpeg is a test dependency (scripts/install-deps.sh test); without it these fail.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "audio/ClipIntake.h"
#include "audio/ClipProbe.h"
#include "audio/tests/IntakeTestSupport.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

using testing::IndependentLoudness;
using testing::IntakeFixture;
using testing::TempFolder;

constexpr double kLoudnessTolerance = 0.5;  // LU around the target

IndependentLoudness Measured(const std::string& path, const std::string& filters = "") {
  const std::optional<IndependentLoudness> measured = testing::MeasureWithFfmpeg(path, filters);
  if (!measured) {
    ADD_FAILURE() << "ffmpeg could not measure " << path << " (is ffmpeg installed?)";
    return {};
  }
  return *measured;
}

IntakeOptions Levelling() {
  IntakeOptions options;
  options.Level = true;
  return options;
}

class LevelledSound : public ::testing::TestWithParam<const char*> {};

TEST_P(LevelledSound, ReachesTheTargetUnderTheCeiling) {
  TempFolder dir;
  const std::string source = IntakeFixture(GetParam());
  const IntakeResult result = ConvertClip(source, dir / "001.mp3", Levelling());
  const IndependentLoudness after = Measured(dir / "001.mp3");
  EXPECT_NEAR(after.Lufs, kTargetLoudnessLufs, kLoudnessTolerance);
  EXPECT_LE(after.PeakDbtp, kPeakCeilingDbtp);
  // The editor's own figures agree with the independent ones. The loudness before is that of
  // the source at the player's rate (at 48 kHz, noise has more of the highest frequencies).
  ASSERT_TRUE(result.LoudnessBefore && result.LoudnessAfter && result.TruePeakAfter);
  EXPECT_NEAR(*result.LoudnessBefore, Measured(source, "aresample=44100,").Lufs, 0.2);
  EXPECT_NEAR(*result.LoudnessAfter, after.Lufs, 0.2);
  EXPECT_NEAR(*result.TruePeakAfter, after.PeakDbtp, 0.3);
  EXPECT_EQ(result.Levelling, LevelOutcome::Levelled);
  EXPECT_THAT(LevellingText(result),
              ::testing::MatchesRegex("levelled to -1[56]\\.[0-9] LUFS \\(before -[0-9.]+, gain "
                                      "[-+][0-9.]+ dB, (limited [0-9.]+ dB|no limiting)\\)"));
}

// Synthesised speech (espeak.flac) and speech with plosives stand with their peaks near full
// scale at about -20 LUFS: the gain to the target takes them past the ceiling, and only the
// limiter brings them there.
INSTANTIATE_TEST_SUITE_P(Fixtures, LevelledSound,
                         ::testing::Values("speech.wav", "espeak.flac", "plosives.flac",
                                           "music.ogg", "tone.flac", "noise.ogg", "quiet-24k.mp3"),
                         [](const auto& info) {
                           std::string name = info.param;
                           name = name.substr(0, name.find('.'));
                           for (char& c : name) c = (c == '-') ? '_' : c;
                           return name;
                         });

// Clicks over a quiet hiss: the gain that brings the hiss to the target takes the clicks 25 dB
// past the ceiling; the limiter holds them under it, and the clip still reaches the target.
TEST(Levelling, LimitsPeaksFarOverTheCeiling) {
  TempFolder dir;
  std::mt19937 random(7);
  std::uniform_real_distribution<float> hiss(-0.01f, 0.01f);
  std::vector<float> samples(44100 * 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = hiss(random) + (i % 4410 < 20 ? 0.5f : 0.0f);
  }
  testing::WriteWav16(dir / "clicks.wav", 44100, 1, samples);
  const IntakeResult result = ConvertClip(dir / "clicks.wav", dir / "001.mp3", Levelling());
  const IndependentLoudness after = Measured(dir / "001.mp3");
  EXPECT_LE(after.PeakDbtp, kPeakCeilingDbtp);
  EXPECT_NEAR(after.Lufs, kTargetLoudnessLufs, kLoudnessTolerance);
  EXPECT_EQ(result.Levelling, LevelOutcome::Levelled);
  EXPECT_GT(result.LimitedDb, 15);
  EXPECT_GT(result.GainDb, 20);
}

TEST(Levelling, LeavesSilenceAsItIs) {
  TempFolder dir;
  testing::WriteWav16(dir / "silence.wav", 22050, 1, std::vector<float>(22050));
  const IntakeResult result = ConvertClip(dir / "silence.wav", dir / "001.mp3", Levelling());
  EXPECT_FALSE(result.LoudnessBefore);
  EXPECT_FALSE(result.LoudnessAfter);
  EXPECT_EQ(result.GainDb, 0);
  EXPECT_NEAR(result.Seconds, 1.0, 1.0 / 44100);
  EXPECT_EQ(result.Levelling, LevelOutcome::Silent);
  EXPECT_EQ(LevellingText(result), "not levelled: silent");
}

// A clip shorter than one 400 ms block of the loudness measure has no loudness to bring
// anywhere: it is converted as it is, and said to be too short.
TEST(Levelling, NamesAClipTooShortToMeasure) {
  TempFolder dir;
  const IntakeResult result =
      ConvertClip(IntakeFixture("surround.wav"), dir / "001.mp3", Levelling());
  EXPECT_TRUE(result.Reencoded);
  EXPECT_EQ(result.Levelling, LevelOutcome::TooShort);
  EXPECT_EQ(result.GainDb, 0);
  EXPECT_EQ(LevellingText(result), "not levelled: shorter than 0.4 s");
}

TEST(LevelProjectCopy, ReplacesTheCopyWithALevelledOneOnce) {
  TempFolder dir;
  const std::string copy = dir / "007.mp3";
  testing::WriteFile(copy, testing::ReadWhole(IntakeFixture("quiet-24k.mp3")));
  const double before = Measured(copy, "aresample=44100,").Lufs;

  const IntakeResult first = LevelProjectCopy(copy);
  EXPECT_TRUE(first.Reencoded);
  ASSERT_TRUE(first.LoudnessBefore);
  EXPECT_NEAR(*first.LoudnessBefore, before, 0.2);
  EXPECT_NEAR(Measured(copy).Lufs, kTargetLoudnessLufs, kLoudnessTolerance);
  const ClipFacts facts = ProbeClipFile(copy);
  EXPECT_EQ(facts.SampleRate, 44100);
  EXPECT_EQ(facts.Bytes, first.Bytes);
  EXPECT_EQ(dir.EntryCount(), 1u);

  // A copy already at the level is not encoded again, which would only lose quality.
  const std::string levelled = dir.Read("007.mp3");
  const IntakeResult second = LevelProjectCopy(copy);
  EXPECT_FALSE(second.Reencoded);
  EXPECT_EQ(second.Levelling, LevelOutcome::AlreadyLevel);
  EXPECT_EQ(dir.Read("007.mp3"), levelled);
  ASSERT_TRUE(second.LoudnessBefore && second.LoudnessAfter);
  EXPECT_EQ(*second.LoudnessBefore, *second.LoudnessAfter);
}

TEST(MeasureClipLoudness, AgreesWithAnIndependentMeter) {
  const std::string clip = IntakeFixture("quiet-24k.mp3");
  const std::optional<ClipLoudness> loudness = MeasureClipLoudness(clip);
  ASSERT_TRUE(loudness && loudness->IntegratedLufs && loudness->TruePeakDbtp);
  const IndependentLoudness independent = Measured(clip);
  EXPECT_NEAR(*loudness->IntegratedLufs, independent.Lufs, 0.2);
  EXPECT_NEAR(*loudness->TruePeakDbtp, independent.PeakDbtp, 0.3);
  EXPECT_NEAR(loudness->Seconds, 3.048, 0.001);
  EXPECT_EQ(loudness->SampleRate, 24000);
  EXPECT_EQ(loudness->Channels, 1);

  const std::atomic<bool> cancel = true;
  EXPECT_FALSE(MeasureClipLoudness(clip, WorkControl{{}, &cancel}));
}

}  // namespace
}  // namespace pwx
