// The blocks the intake is built of: the downmix, the resampler, the decoders and the meter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>

#include "audio/ChannelDownmix.h"
#include "audio/LoudnessMeter.h"
#include "audio/Mp3Decoder.h"
#include "audio/Resampler.h"
#include "audio/SoundFileDecoder.h"
#include "audio/tests/IntakeTestSupport.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

using testing::IntakeFixture;
using P = SpeakerPlace;

std::pair<float, float> MixOne(const std::vector<SpeakerPlace>& places,
                               const std::vector<float>& frame) {
  float stereo[2];
  StereoDownmix(places).Mix(frame.data(), 1, stereo);
  return {stereo[0], stereo[1]};
}

TEST(StereoDownmix, PutsEachSpeakerOnItsSide) {
  const std::vector<SpeakerPlace> surround = UsualPlaces(6);
  ASSERT_EQ(surround[3], P::LowFrequency);
  const auto [centreL, centreR] = MixOne(surround, {0, 0, 1, 0, 0, 0});
  EXPECT_GT(centreL, 0);
  EXPECT_EQ(centreL, centreR);
  EXPECT_EQ(MixOne(surround, {0, 0, 0, 1, 0, 0}), std::pair(0.0f, 0.0f));
  const auto [frontL, frontR] = MixOne(surround, {1, 0, 0, 0, 0, 0});
  const auto [surroundL, surroundR] = MixOne(surround, {0, 0, 0, 0, 1, 0});
  EXPECT_EQ(frontR, 0);
  EXPECT_EQ(surroundR, 0);
  EXPECT_NEAR(frontL / surroundL, std::numbers::sqrt2, 1e-5);  // surround 3 dB lower
  const auto [rightL, rightR] = MixOne(surround, {0, 1, 0, 0, 0, 1});
  EXPECT_EQ(rightL, 0);
  EXPECT_GT(rightR, 0);
}

TEST(StereoDownmix, NeverPassesFullScale) {
  for (int channels = 3; channels <= 12; ++channels) {
    const auto [left, right] = MixOne(UsualPlaces(channels), std::vector<float>(channels, 1.0f));
    EXPECT_LE(std::max(left, right), 1.0f + 1e-6f) << channels;
    EXPECT_GT(std::max(left, right), 0.99f) << channels;
  }
}

TEST(SoundFileDecoder, NamesTheSurroundChannels) {
  const SoundFileDecoder surround(IntakeFixture("surround.wav"));
  EXPECT_EQ(surround.Format(), (SoundFormat{96000, 6}));
  EXPECT_EQ(surround.Places(), UsualPlaces(6));
}

std::vector<float> ReadAll(PcmSource& source, std::size_t block) {
  std::vector<float> all;
  std::vector<float> buffer(block * static_cast<std::size_t>(source.Format().Channels));
  while (const std::size_t frames = source.Read(buffer.data(), block)) {
    all.insert(all.end(), buffer.begin(),
               buffer.begin() + static_cast<long>(frames) * source.Format().Channels);
  }
  return all;
}

class FileAndBytes : public ::testing::TestWithParam<const char*> {};

// Reading through the file's own seeks gives what reading from memory gives. (Damaged FLAC
// is left out: how much libsndfile drops around a broken frame depends on the block read.)
TEST_P(FileAndBytes, DecodeAlike) {
  const std::string path = IntakeFixture(GetParam());
  const std::string bytes = testing::ReadWhole(path);
  SoundFileDecoder fromFile(path);
  SoundFileDecoder fromBytes(bytes, GetParam());
  EXPECT_EQ(fromFile.Format(), fromBytes.Format());
  const std::vector<float> samples = ReadAll(fromFile, 1000);
  EXPECT_FALSE(samples.empty());
  EXPECT_EQ(samples, ReadAll(fromBytes, 1000));
  EXPECT_EQ(fromFile.FractionRead(), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Formats, FileAndBytes,
                         ::testing::Values("tone.flac", "noise.ogg", "chord.aiff", "truncated.wav"),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name) c = std::isalnum(c) ? c : '_';
                           return name;
                         });

TEST(SoundFileDecoder, RefusesBytesThatAreNoSound) {
  EXPECT_EQ(testing::ErrorOf([] { SoundFileDecoder("RIFF....WAVEjunk", "note.wav"); }),
            "\"note.wav\" is not an audio file this editor can read.");
  EXPECT_EQ(testing::ErrorOf([] { SoundFileDecoder("", "nothing.wav"); }),
            "\"nothing.wav\" is empty: it holds no sound.");
}

struct HeadCase {
  const char* name;
  std::string head;
  bool mpeg;
};

// Files libsndfile does not know are taken for MPEG audio only by their first bytes.
TEST(StartsLikeMpegAudio, TellsFramesAndTagsFromLookAlikes) {
  const HeadCase cases[] = {
      {"ID3v2 tag", "ID3\x04", true},
      {"MPEG-1 Layer III, 128 kbit/s", "\xFF\xFB\x90\x64", true},
      {"MPEG-2 Layer III, 24 kHz", "\xFF\xF3\x44\xC4", true},
      {"MPEG-1 Layer II", "\xFF\xFD\x90\x00", true},
      {"ADTS AAC (layer 0)", "\xFF\xF1\x50\x80", false},
      {"forbidden bit rate", "\xFF\xFB\xF0\x64", false},
      {"reserved sample rate", "\xFF\xFB\x9C\x64", false},
      {"reserved version", "\xFF\xEB\x90\x64", false},
      {"ELF program",
       "\x7F"
       "ELF",
       false},
      {"cut short", "\xFF\xFB", false},
      {"empty", "", false},
  };
  for (const HeadCase& c : cases) EXPECT_EQ(StartsLikeMpegAudio(c.head), c.mpeg) << c.name;
}

TEST(Mp3FileSource, GivesTheSameSoundWhateverTheBlockSize) {
  Mp3FileSource large(IntakeFixture("quiet-24k.mp3"));
  Mp3FileSource small(IntakeFixture("quiet-24k.mp3"));
  EXPECT_EQ(large.Format(), (SoundFormat{24000, 1}));
  EXPECT_EQ(large.Layer(), 3);
  const std::vector<float> samples = ReadAll(large, 100000);
  EXPECT_EQ(samples.size(), 73152u);  // 3.048 s: what the LAME tag leaves of the frames
  EXPECT_EQ(samples, ReadAll(small, 97));
}

class ResamplerRate : public ::testing::TestWithParam<long> {};

// One second of a 1 kHz tone on the left, silence on the right, fed in blocks: one second
// comes out, the tone at its pitch and level, the sides kept apart.
TEST_P(ResamplerRate, KeepsLengthPitchLevelAndSides) {
  const long rate = GetParam();
  std::vector<float> input(2 * static_cast<std::size_t>(rate));
  for (long i = 0; i < rate; ++i) {
    input[2 * static_cast<std::size_t>(i)] =
        0.5f * static_cast<float>(std::sin(2 * std::numbers::pi * 1000 * i / rate));
  }
  Resampler resampler(static_cast<double>(rate), 44100, 2);
  std::vector<float> output;
  for (long at = 0; at < rate; at += 1000) {
    const long frames = std::min(1000L, rate - at);
    resampler.Process(input.data() + 2 * at, static_cast<std::size_t>(frames), output);
  }
  resampler.Finish(output);
  ASSERT_NEAR(static_cast<double>(output.size()) / 2, 44100, 1);
  int crossings = 0;
  float leftPeak = 0;
  float rightPeak = 0;
  for (std::size_t i = 2; i < output.size(); i += 2) {
    if ((output[i - 2] < 0) != (output[i] < 0)) ++crossings;
    leftPeak = std::max(leftPeak, std::abs(output[i]));
    rightPeak = std::max(rightPeak, std::abs(output[i + 1]));
  }
  EXPECT_NEAR(crossings, 2000, 4);
  EXPECT_NEAR(leftPeak, 0.5, 0.01);
  EXPECT_LT(rightPeak, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(Rates, ResamplerRate,
                         ::testing::Values(8000, 11025, 22050, 32000, 48000, 96000));

TEST(LoudnessMeter, HasNoLoudnessForSilenceOrUnderOneBlock) {
  std::vector<float> tone(4410);  // 0.1 s of 1 kHz at half of full scale
  for (std::size_t i = 0; i < tone.size(); ++i) {
    tone[i] = 0.5f * static_cast<float>(std::sin(2 * std::numbers::pi * 1000 * i / 44100.0));
  }
  const std::vector<float> silence(44100);
  for (const PeakMeasure peak : {PeakMeasure::Sample, PeakMeasure::True}) {
    LoudnessMeter silent(44100, 1, peak);
    silent.Add(silence.data(), silence.size());
    EXPECT_FALSE(silent.IntegratedLufs());
    EXPECT_FALSE(silent.PeakDb());

    LoudnessMeter brief(44100, 1, peak);
    brief.Add(tone.data(), tone.size());
    EXPECT_FALSE(brief.IntegratedLufs());
    ASSERT_TRUE(brief.PeakDb());
    EXPECT_NEAR(*brief.PeakDb(), -6.02, 0.1);
  }
}

// A tone at a quarter of the rate, struck 45 degrees off its samples: its highest sample is
// 3 dB under its crest, which only the true peak finds, at any rate the intake meets.
TEST(LoudnessMeter, TruePeakFindsThePeaksBetweenSamples) {
  for (const long rate : {22050L, 44100L, 48000L, 96000L}) {
    std::vector<float> tone(2 * static_cast<std::size_t>(rate));
    for (std::size_t i = 0; i < tone.size(); ++i) {
      tone[i] = 0.8f * static_cast<float>(std::sin(std::numbers::pi / 2 * static_cast<double>(i) +
                                                   std::numbers::pi / 4));
    }
    LoudnessMeter sample(rate, 1, PeakMeasure::Sample);
    LoudnessMeter truePeak(rate, 1, PeakMeasure::True);
    for (LoudnessMeter* meter : {&sample, &truePeak}) meter->Add(tone.data(), tone.size());
    EXPECT_NEAR(*sample.PeakDb(), 20 * std::log10(0.8 * std::sqrt(0.5)), 0.05) << rate;
    EXPECT_NEAR(*truePeak.PeakDb(), 20 * std::log10(0.8), 0.1) << rate;
    EXPECT_EQ(*sample.IntegratedLufs(), *truePeak.IntegratedLufs()) << rate;
  }
}

}  // namespace
}  // namespace pwx
