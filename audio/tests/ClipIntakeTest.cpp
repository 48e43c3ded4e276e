// The clip intake against the files of assets/intake/make-intake-fixtures.sh: what converts
// into a clip the player plays, what is refused, and that a refusal, a cancel or a clip too
// large for the player leaves the destination as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>

#include "audio/ClipIntake.h"
#include "audio/ClipProbe.h"
#include "audio/Mp3Decoder.h"
#include "audio/tests/IntakeTestSupport.h"
#include "audio/tests/Mp3Bytes.h"
#include "common/tests/NamedPipe.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

using ::testing::Each;
using ::testing::EndsWith;
using testing::ErrorOf;
using ::testing::HasSubstr;
using testing::IntakeFixture;
using ::testing::StartsWith;
using testing::TempFolder;

// One MP3 frame and the encoder's delay, in seconds at 44,100 Hz.
constexpr double kFrameAndDelay = (1152.0 + 576.0) / 44100;

struct ConvertCase {
  const char* file;
  int channels;    // of the clip made; 0 when refused
  double seconds;  // of the source
  double lost;     // seconds damage may take away
  const char* refusal;
};

void PrintTo(const ConvertCase& c, std::ostream* os) {
  *os << c.file;
}

const ConvertCase kConvertCases[] = {
    {"speech.wav", 1, 3.0, 0, ""},
    {"tone.flac", 2, 2.0, 0, ""},
    {"noise.ogg", 2, 2.0, 0, ""},
    {"chord.aiff", 2, 1.0, 0, ""},
    {"mono.wav", 1, 1.0, 0, ""},
    {"surround.wav", 2, 0.1, 0, ""},         // 96 kHz, 24 bits, six channels mixed to two
    {"truncated.wav", 1, 1.2, 0, ""},        // the sound that is there
    {"broken-frame.flac", 1, 2.0, 0.1, ""},  // decoded around the broken frame
    {"text.wav", 0, 0, 0, "\" is not an audio file this editor can read."},
    {"empty.wav", 0, 0, 0, "\" is empty: it holds no sound."},
};

class ConvertFixture : public ::testing::TestWithParam<std::tuple<ConvertCase, bool>> {};

TEST_P(ConvertFixture, MakesAPlayableClipOrRefusesClearly) {
  const auto& [c, level] = GetParam();
  TempFolder dir;
  const std::string source = IntakeFixture(c.file);
  const std::string dest = dir / "001.mp3";
  IntakeOptions options;
  options.Level = level;
  if (*c.refusal) {
    const std::string error = ErrorOf([&] { ConvertClip(source, dest, options); });
    EXPECT_THAT(error, StartsWith("\""));
    EXPECT_THAT(error, HasSubstr(c.file));
    EXPECT_THAT(error, EndsWith(c.refusal));
    EXPECT_EQ(dir.EntryCount(), 0u);
    return;
  }
  const IntakeResult result = ConvertClip(source, dest, options);
  const ClipFacts facts = ProbeClipFile(dest);
  EXPECT_TRUE(facts.PlayableMp3());
  EXPECT_EQ(facts.MpegVersion, "1");
  EXPECT_EQ(facts.SampleRate, 44100);
  EXPECT_EQ(facts.Channels, c.channels);
  EXPECT_TRUE(facts.Problems.empty());
  EXPECT_NEAR(facts.Seconds(), c.seconds - c.lost / 2, c.lost / 2 + kFrameAndDelay);
  // The result tells what a decoder finds.
  EXPECT_TRUE(result.Reencoded);
  EXPECT_EQ(result.SampleRate, 44100);
  EXPECT_EQ(result.Channels, c.channels);
  EXPECT_NEAR(result.Seconds, facts.Seconds(), 1.0 / 44100);
  EXPECT_EQ(result.Bytes, facts.Bytes);
  EXPECT_EQ(result.LoudnessAfter.has_value(), level && c.seconds >= 0.4);
  EXPECT_EQ(dir.EntryCount(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ConvertFixture,
                         ::testing::Combine(::testing::ValuesIn(kConvertCases), ::testing::Bool()),
                         [](const auto& info) {
                           std::string name = std::get<0>(info.param).file;
                           name = name.substr(0, name.find('.'));
                           for (char& c : name) c = (c == '-') ? '_' : c;
                           return name + (std::get<1>(info.param) ? "_levelled" : "_plain");
                         });

// The Xing/LAME tag written over the first frame at the end tells decoders the encoder's delay
// and padding: they give back exactly the source's length, resampled.
TEST(ConvertClip, DecodersGetTheSourceLengthToTheSample) {
  for (const auto& [file, frames] : {std::pair{"chord.aiff", 44100}, {"speech.wav", 132300}}) {
    TempFolder dir;
    ConvertClip(IntakeFixture(file), dir / "001.mp3");
    EXPECT_NEAR(static_cast<double>(ProbeClipFile(dir / "001.mp3").Samples), frames, 1) << file;
  }
}

TEST(ConvertClip, CopiesAnMp3AsItIsUnlessLevelling) {
  TempFolder dir;
  const std::string source = IntakeFixture("quiet-24k.mp3");
  const IntakeResult copied = ConvertClip(source, dir / "001.mp3");
  EXPECT_FALSE(copied.Reencoded);
  EXPECT_EQ(dir.Read("001.mp3"), testing::ReadWhole(source));
  EXPECT_EQ(copied.SampleRate, 24000);
  // From the frame headers, which may leave out the last frame (24 ms).
  EXPECT_NEAR(copied.Seconds, 3.048, 0.025);

  IntakeOptions options;
  options.Level = true;
  const IntakeResult levelled = ConvertClip(source, dir / "002.mp3", options);
  EXPECT_TRUE(levelled.Reencoded);
  const ClipFacts facts = ProbeClipFile(dir / "002.mp3");
  EXPECT_EQ(facts.MpegVersion, "1");
  EXPECT_EQ(facts.SampleRate, 44100);
  EXPECT_NEAR(facts.Seconds(), 3.048, kFrameAndDelay);
}

// A WAV or a Layer II file named .mp3 is converted; an MP3 named .wav is copied as it is.
TEST(ConvertClip, KnowsSourcesByTheirBytesNotTheirNames) {
  TempFolder dir;
  const IntakeResult wave =
      ConvertClip(std::string(PWX_CLIP_FIXTURES) + "/wave-named.mp3", dir / "001.mp3");
  EXPECT_TRUE(wave.Reencoded);
  EXPECT_EQ(ProbeClipFile(dir / "001.mp3").SampleRate, 44100);
  const IntakeResult layer2 = ConvertClip(IntakeFixture("layer2.mp3"), dir / "003.mp3");
  EXPECT_TRUE(layer2.Reencoded);
  const ClipFacts converted = ProbeClipFile(dir / "003.mp3");
  EXPECT_EQ(converted.Layer, 3);
  EXPECT_NEAR(converted.Seconds(), 2.0, kFrameAndDelay);
  testing::WriteFile(dir / "clip.wav", testing::ReadWhole(IntakeFixture("quiet-24k.mp3")));
  const IntakeResult mp3 = ConvertClip(dir / "clip.wav", dir / "002.mp3");
  EXPECT_FALSE(mp3.Reencoded);
  EXPECT_EQ(dir.Read("002.mp3"), dir.Read("clip.wav"));
}

struct LimitCase {
  const char* file;
  bool level;
  const char* lasts;
  bool atOnce;  // the length alone tells it cannot fit
};

void PrintTo(const LimitCase& c, std::ostream* os) {
  *os << c.file << (c.level ? " levelled" : "");
}

class ClipTooLarge : public ::testing::TestWithParam<LimitCase> {};

// The limit is lowered to a few kilobytes so that short fixtures pass it. When their length
// alone tells that they cannot fit, they are refused before any of their sound is decoded, so
// no progress is ever reported; the others pass the limit while they are encoded.
TEST_P(ClipTooLarge, IsRefusedWithItsLengthAndTheLimit) {
  const LimitCase& c = GetParam();
  TempFolder dir;
  IntakeOptions options;
  options.Level = c.level;
  options.MaxBytes = 5000;
  int reports = 0;
  options.Work.Progress = [&](const ProgressStep&) { ++reports; };
  const std::string error =
      ErrorOf([&] { ConvertClip(IntakeFixture(c.file), dir / "001.mp3", options); });
  EXPECT_THAT(error, HasSubstr(c.file));
  EXPECT_THAT(error, HasSubstr(std::string("it lasts ") + c.lasts + ","));
  EXPECT_THAT(error, HasSubstr("the player's limit of 5,000 bytes."));
  EXPECT_EQ(dir.EntryCount(), 0u);
  EXPECT_EQ(reports == 0, c.atOnce) << reports;
}

INSTANTIATE_TEST_SUITE_P(Sources, ClipTooLarge,
                         ::testing::Values(LimitCase{"speech.wav", false, "0:03.0", true},
                                           LimitCase{"speech.wav", true, "0:03.0", true},
                                           LimitCase{"noise.ogg", false, "0:02.0", true},
                                           LimitCase{"truncated.wav", false, "0:01.2", false},
                                           LimitCase{"quiet-24k.mp3", false, "0:03.0", true},
                                           LimitCase{"quiet-24k.mp3", true, "0:03.0", true}),
                         [](const auto& info) {
                           std::string name = info.param.file;
                           name = name.substr(0, name.find('.'));
                           for (char& c : name) c = (c == '-') ? '_' : c;
                           return name + (info.param.level ? "_levelled" : "_plain");
                         });

// Without its Info frame an MP3 announces no length: the refusal still gives the whole one,
// not a guess from the bytes read before the limit passed.
TEST(ClipTooLarge, GivesTheLengthOfAnMp3WithoutATag) {
  TempFolder dir;
  const std::string clip = testing::ReadWhole(IntakeFixture("quiet-24k.mp3"));
  const std::size_t infoFrame = 96;  // 32 kbit/s at 24,000 Hz, unpadded
  ASSERT_TRUE(StartsLikeMpegAudio(clip.substr(infoFrame)));
  const std::string frames = clip.substr(infoFrame);
  testing::WriteFile(dir / "untagged.mp3", frames + frames + frames + frames);
  const double seconds = ProbeClipFile(dir / "untagged.mp3").Seconds();
  ASSERT_GT(seconds, 12);
  IntakeOptions options;
  options.Level = true;
  options.MaxBytes = 5000;
  EXPECT_THAT(ErrorOf([&] { ConvertClip(dir / "untagged.mp3", dir / "001.mp3", options); }),
              HasSubstr("it lasts " + DurationText(seconds) + ","));
}

// Ten hours of sound: its header tells at once that no MP3 of it fits the player, and it is
// refused without decoding or encoding any of it. (The file is sparse: it takes no room.)
TEST(ClipTooLarge, RefusesTenHoursFromTheHeader) {
  TempFolder dir;
  const std::string path = dir / "ten-hours.wav";
  testing::WriteWav16(path, 8000, 1, {});
  const std::uint32_t dataBytes = 10u * 3600u * 8000u * 2u;
  {
    std::fstream wav(path, std::ios::in | std::ios::out | std::ios::binary);
    const auto le32 = [&](std::uint32_t value) {
      for (int i = 0; i < 4; ++i) wav.put(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    wav.seekp(4);
    le32(36 + dataBytes);
    wav.seekp(40);
    le32(dataBytes);
  }
  std::filesystem::resize_file(path, 44 + static_cast<std::uint64_t>(dataBytes));
  for (const bool level : {false, true}) {
    IntakeOptions options;
    options.Level = level;
    int reports = 0;
    options.Work.Progress = [&](const ProgressStep&) { ++reports; };
    EXPECT_THAT(ErrorOf([&] { ConvertClip(path, dir / "001.mp3", options); }),
                HasSubstr("it lasts 10:00:00.0, and as an MP3 it would pass the player's limit "
                          "of 10,485,760 bytes."));
    EXPECT_EQ(reports, 0);
    EXPECT_FALSE(dir.Has("001.mp3"));
  }
}

// What an import copies as it is: an MP3 the player plays, known by its bytes.
TEST(PlayableMp3Facts, KnowsAnMp3ByItsBytes) {
  TempFolder dir;
  testing::WriteFile(dir / "clip.wav", testing::ReadWhole(IntakeFixture("quiet-24k.mp3")));
  // The silent MP3 the editor's tests import.
  testing::WriteFile(dir / "made.mp3", testing::Mp3BytesOfSize(kMaxClipBytes));
  const std::optional<ClipFacts> made = PlayableMp3Facts(dir / "made.mp3");
  ASSERT_TRUE(made);
  EXPECT_EQ(made->Bytes, static_cast<std::uint64_t>(kMaxClipBytes));
  EXPECT_EQ(made->SampleRate, 44100);
  EXPECT_TRUE(ProbeClipFile(dir / "made.mp3").Problems.empty());
  const std::string clips = PWX_CLIP_FIXTURES;
  for (const std::string& mp3 : {IntakeFixture("quiet-24k.mp3"), dir / "clip.wav"}) {
    const std::optional<ClipFacts> facts = PlayableMp3Facts(mp3);
    ASSERT_TRUE(facts) << mp3;
    EXPECT_EQ(facts->SampleRate, 24000);
    EXPECT_EQ(facts->Channels, 1);
    EXPECT_NEAR(facts->Seconds(), 3.048, 0.025);
  }
  for (const std::string& other :
       {clips + "/wave-named.mp3", IntakeFixture("layer2.mp3"), IntakeFixture("text.wav"),
        IntakeFixture("speech.wav"), IntakeFixture("empty.wav"), dir / "missing.mp3"}) {
    EXPECT_FALSE(PlayableMp3Facts(other)) << other;
  }
}

TEST(DurationText, MinutesSecondsAndTenths) {
  EXPECT_EQ(DurationText(0), "0:00.0");
  EXPECT_EQ(DurationText(59.96), "1:00.0");
  EXPECT_EQ(DurationText(751.4), "12:31.4");
  EXPECT_EQ(DurationText(3751.42), "1:02:31.4");
}

// Each way a conversion can end without a clip, with an older clip at the destination.
struct FailureCase {
  const char* name;
  const char* file;
  std::function<void(IntakeOptions&, std::atomic<bool>&)> setUp;
  bool cancelled;
};

const FailureCase kFailures[] = {
    {"NotAudio", "text.wav", [](IntakeOptions&, std::atomic<bool>&) {}, false},
    {"TooLarge", "noise.ogg", [](IntakeOptions& o, std::atomic<bool>&) { o.MaxBytes = 8000; },
     false},
    {"CancelledBeforeStart", "speech.wav",
     [](IntakeOptions& o, std::atomic<bool>& cancel) {
       cancel = true;
       o.Work.Cancel = &cancel;
     },
     true},
    {"CancelledWhileEncoding", "noise.ogg",
     [](IntakeOptions& o, std::atomic<bool>& cancel) {
       o.Work.Cancel = &cancel;
       o.Work.Progress = [&cancel](const ProgressStep& step) {
         if (step.Done * 2 > step.Total) cancel = true;
       };
     },
     true},
    {"CancelledAtFirstProgress", "noise.ogg",
     [](IntakeOptions& o, std::atomic<bool>& cancel) {
       o.Work.Cancel = &cancel;
       o.Work.Progress = [&cancel](const ProgressStep&) { cancel = true; };
     },
     true},
};

void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << c.name;
}

class FailedConversion : public ::testing::TestWithParam<std::tuple<FailureCase, bool>> {};

TEST_P(FailedConversion, LeavesTheOldClipAndNothingElse) {
  const auto& [c, level] = GetParam();
  TempFolder dir;
  dir.Write("001.mp3", "the old clip");
  std::atomic<bool> cancel = false;
  IntakeOptions options;
  options.Level = level;
  c.setUp(options, cancel);
  IntakeResult result;
  const std::string error =
      ErrorOf([&] { result = ConvertClip(IntakeFixture(c.file), dir / "001.mp3", options); });
  EXPECT_EQ(error == "(no error)", c.cancelled) << error;
  EXPECT_EQ(result.Cancelled, c.cancelled);
  EXPECT_EQ(dir.Read("001.mp3"), "the old clip");
  EXPECT_EQ(dir.EntryCount(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Ways, FailedConversion,
                         ::testing::Combine(::testing::ValuesIn(kFailures), ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) ? "_levelled" : "_plain");
                         });

TEST(ConvertClip, RefusesWhatCannotBeReadWithoutWaiting) {
  TempFolder dir;
  const std::string pipe = dir / "sound.wav";
  testing::MakeNamedPipe(pipe);
  std::string error;
  EXPECT_TRUE(testing::ReturnsWithoutWaitingOn(
      pipe, [&] { error = ErrorOf([&] { ConvertClip(pipe, dir / "001.mp3"); }); }));
  EXPECT_EQ(error, "\"" + pipe + "\" is not a regular file");
  EXPECT_THAT(ErrorOf([&] { ConvertClip(dir / "missing.wav", dir / "001.mp3"); }),
              StartsWith("Cannot open file \"" + dir / "missing.wav" + "\"."));
  EXPECT_THAT(ErrorOf([&] { ConvertClip(IntakeFixture("mono.wav"), dir / "no-folder/001.mp3"); }),
              StartsWith("Cannot create file \"" + dir / "no-folder/001.mp3" + "\"."));
}

TEST(ConvertClip, RefusesAWaveWithoutSound) {
  TempFolder dir;
  testing::WriteWav16(dir / "header-only.wav", 44100, 2, {});
  for (const bool level : {false, true}) {
    IntakeOptions options;
    options.Level = level;
    EXPECT_THAT(ErrorOf([&] { ConvertClip(dir / "header-only.wav", dir / "001.mp3", options); }),
                EndsWith("\" is empty: it holds no sound."));
    EXPECT_FALSE(dir.Has("001.mp3"));
  }
}

TEST(ConvertClip, ReportsProgressThatOnlyGrowsToTheEnd) {
  for (const bool level : {false, true}) {
    TempFolder dir;
    std::vector<double> seen;
    std::vector<std::string> texts;
    IntakeOptions options;
    options.Level = level;
    options.Work.Progress = [&](const ProgressStep& step) {
      seen.push_back(static_cast<double>(step.Done) / static_cast<double>(step.Total));
      texts.push_back(step.Text);
    };
    ConvertClip(IntakeFixture("speech.wav"), dir / "001.mp3", options);
    ASSERT_GT(seen.size(), 3u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GT(seen.front(), 0);
    EXPECT_EQ(seen.back(), 1);
    EXPECT_THAT(texts, Each(std::string("Converting speech.wav into 001.mp3")));
  }
}

}  // namespace
}  // namespace pwx
