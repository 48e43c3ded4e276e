// Clip timing against real clips (assets/clips and assets/sequence): the length and the
// silences it finds from the frames' headers and the ends alone are those a full gapless
// decode of the clip gives.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <vector>

#include "audio/ClipTiming.h"
#include "audio/FrameMap.h"
#include "audio/Mp3Decoder.h"
#include "common/EditorError.h"
#include "common/FileReading.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

std::string Clip(const std::string& name) {
  return std::string(PWX_CLIP_FIXTURES) + "/" + name;
}
std::string Sequence(const std::string& name) {
  return std::string(PWX_SEQUENCE_FIXTURES) + "/" + name;
}

// The clip decoded whole, and its silences counted on every sample.
ClipTiming FullyDecoded(const std::string& path) {
  Mp3FileSource source(path);
  const int channels = source.Format().Channels;
  const float audible = static_cast<float>(std::pow(10.0, kSilenceDbfs / 20.0));
  std::vector<float> block(4096 * static_cast<std::size_t>(channels));
  std::uint64_t at = 0;
  std::optional<std::uint64_t> first, last;
  while (const std::size_t got = source.Read(block.data(), 4096)) {
    for (std::size_t i = 0; i < got * static_cast<std::size_t>(channels); ++i) {
      if (std::fabs(block[i]) <= audible) continue;
      const std::uint64_t sample = at + i / static_cast<std::size_t>(channels);
      if (!first) first = sample;
      last = sample;
    }
    at += got;
  }
  ClipTiming timing;
  timing.SampleRate = source.Format().Rate;
  timing.Channels = channels;
  timing.Samples = at;
  timing.LeadingSilence = first ? *first : at;
  timing.TrailingSilence = last ? at - *last - 1 : 0;
  return timing;
}

struct TimingCase {
  std::string path;
  double lead, tail;  // seconds, as made, to the nearest 0.1 s (encoders smear the edges)
};
void PrintTo(const TimingCase& c, std::ostream* os) {
  *os << c.path.substr(c.path.rfind('/') + 1);
}

class ClipTimingTest : public ::testing::TestWithParam<TimingCase> {};

TEST_P(ClipTimingTest, EqualsFullDecode) {
  const ClipTiming timing = TimeClipFile(GetParam().path);
  const ClipTiming decoded = FullyDecoded(GetParam().path);
  EXPECT_EQ(timing.SampleRate, decoded.SampleRate);
  EXPECT_EQ(timing.Channels, decoded.Channels);
  EXPECT_EQ(timing.Samples, decoded.Samples);
  EXPECT_EQ(timing.LeadingSilence, decoded.LeadingSilence);
  EXPECT_EQ(timing.TrailingSilence, decoded.TrailingSilence);
  EXPECT_NEAR(timing.SecondsOf(timing.LeadingSilence), GetParam().lead, 0.1);
  EXPECT_NEAR(timing.SecondsOf(timing.TrailingSilence), GetParam().tail, 0.1);
}

std::vector<TimingCase> Cases() {
  return {
      {Clip("mpeg1-stereo-cbr.mp3"), 0, 0},
      {Clip("mpeg1-mono-vbr.mp3"), 0, 0},
      {Clip("mpeg2-mono-cbr.mp3"), 0, 0},
      {Clip("mpeg25-mono-cbr.mp3"), 0, 0},
      {Clip("tagged.mp3"), 0, 0},
      {Clip("cbr-info-unknown.mp3"), 0, 0},
      {Clip("crc-protected.mp3"), 0, 0},
      {Clip("layer2.mp3"), 1.0, 0},
      // Damaged, or frames among other bytes: the decoder finds the frames.
      {Clip("corrupted-middle.mp3"), 0, 0},
      {Clip("truncated.mp3"), 0, 0},
      {Clip("free-format.mp3"), 0, 0},
      {Clip("riff-other.mp3"), 0, 0},
      {Clip("wave-mpeg.mp3"), 0, 0},
      {Sequence("lead-tail.mp3"), 0.5, 0.3},
      {Sequence("late-start.mp3"), 3.5, 0},
      {Sequence("long-tail.mp3"), 0, 2.0},
      // Below -50 dBFS all through: the whole clip is silence.
      {Sequence("quiet.mp3"), 1.0, 0},
  };
}

INSTANTIATE_TEST_SUITE_P(Clips, ClipTimingTest, ::testing::ValuesIn(Cases()));

// One timer for a timeline's clips: each clip, in any order, is timed as if it came first.
TEST(ClipTimer, TimesClipAfterClipAsIfEachCameFirst) {
  std::vector<TimingCase> cases = Cases();
  const std::vector<TimingCase> reversed(cases.rbegin(), cases.rend());
  cases.insert(cases.end(), reversed.begin(), reversed.end());
  ClipTimer timer;
  for (const TimingCase& c : cases) {
    const ClipTiming again = timer.File(c.path);
    const ClipTiming first = TimeClipFile(c.path);
    EXPECT_EQ(again.Samples, first.Samples) << c.path;
    EXPECT_EQ(again.LeadingSilence, first.LeadingSilence) << c.path;
    EXPECT_EQ(again.TrailingSilence, first.TrailingSilence) << c.path;
  }
}

// The end is decoded a few frames at a time, each window starting after frames that are
// decoded only to warm the decoder up: with a clip's last frames cut off one by one, the end
// of its sound falls at every place of those windows, and is found where a whole decode
// finds it.
class DecodingWindows : public ::testing::TestWithParam<const char*> {};

TEST_P(DecodingWindows, FindTheEndOfTheSoundAtEveryPlace) {
  const std::string whole = ReadFile(Sequence(GetParam()), 1 << 20).TakeBytes();
  MemoryBytes bytes(whole);
  const std::optional<FrameMap> map = WalkFrameHeaders(bytes);
  ASSERT_TRUE(map);
  testing::TempFolder folder;
  ClipTimer timer;
  for (std::size_t kept = map->Starts.size(); kept > 10; --kept) {
    const std::string path = folder / "cut.mp3";
    std::ofstream(path, std::ios::binary) << whole.substr(0, map->Starts[kept - 1]);
    const ClipTiming timing = timer.File(path);
    const ClipTiming decoded = FullyDecoded(path);
    ASSERT_EQ(timing.Samples, decoded.Samples) << kept;
    ASSERT_EQ(timing.TrailingSilence, decoded.TrailingSilence) << kept;
  }
}

// Two granules a frame (MPEG-1, stereo) and one (MPEG-2, mono).
INSTANTIATE_TEST_SUITE_P(Clips, DecodingWindows,
                         ::testing::Values("lead-tail.mp3", "long-tail.mp3"));

// What the decoder leaves out follows the info frame: the encoder's delay and padding only
// where it counts the frames, and its own delay even where it names no encoder's.
struct InfoFrameCase {
  const char* name;
  std::function<void(std::string&, std::size_t tag)> change;
};
void PrintTo(const InfoFrameCase& c, std::ostream* os) {
  *os << c.name;
}

class InfoFrames : public ::testing::TestWithParam<InfoFrameCase> {};

TEST_P(InfoFrames, LeaveOutWhatTheDecoderLeavesOut) {
  std::string bytes = ReadFile(Clip("mpeg1-stereo-cbr.mp3"), 1 << 20).TakeBytes();
  const std::size_t tag = bytes.find("Info");
  ASSERT_NE(tag, std::string::npos);
  GetParam().change(bytes, tag);
  testing::TempFolder folder;
  const std::string path = folder / "clip.mp3";
  std::ofstream(path, std::ios::binary) << bytes;
  const ClipTiming timing = TimeClipFile(path);
  const ClipTiming decoded = FullyDecoded(path);
  EXPECT_EQ(timing.Samples, decoded.Samples);
  EXPECT_EQ(timing.LeadingSilence, decoded.LeadingSilence);
  EXPECT_EQ(timing.TrailingSilence, decoded.TrailingSilence);
}

INSTANTIATE_TEST_SUITE_P(
    Changed, InfoFrames,
    ::testing::Values(
        InfoFrameCase{"count of 0",
                      [](std::string& b, std::size_t tag) { b.replace(tag + 8, 4, 4, '\0'); }},
        InfoFrameCase{"no count", [](std::string& b, std::size_t tag) { b[tag + 7] &= '\xFE'; }},
        InfoFrameCase{"no encoder's delay",
                      [](std::string& b, std::size_t) {
                        const std::size_t lame = b.find("LAME");
                        b.replace(lame, 36, 36, '\0');
                      }},
        InfoFrameCase{"a frame of damage after it", [](std::string& b, std::size_t tag) {
                        const std::size_t audio = tag - 36 + 417;
                        b.insert(audio, std::string(300, '\x55'));
                      }}));

TEST(ClipTimingFailures, NoAudioIsRefused) {
  EXPECT_THROW(TimeClipFile(Clip("empty.mp3")), EditorError);
  EXPECT_THROW(TimeClipBytes(std::string(5000, 'x'), "noise.mp3"), EditorError);
}

}  // namespace
}  // namespace pwx
