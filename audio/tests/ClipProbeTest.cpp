// The clip probe against real clips made by assets/clips/make-clips.sh: good ones of every
// kind the player meets, and broken ones.
#include <gtest/gtest.h>

#include "audio/ClipProbe.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

using Kind = DecodeProblem::Kind;

std::string Fixture(const std::string& name) {
  return std::string(PWX_CLIP_FIXTURES) + "/" + name;
}

struct ProbeCase;
void PrintTo(const ProbeCase& c, std::ostream* os);

struct ProbeCase {
  const char* file;
  bool playable;
  const char* version;
  long rate;
  int channels;
  bool variable;
  double seconds;  // to the nearest 10 ms
  std::vector<Kind> problems;
  const char* container;
};

// Each case by decoding and by scanning the frames' headers only: both find the same.
void PrintTo(const ProbeCase& c, std::ostream* os) {
  *os << c.file;
}

class ClipProbeTest : public ::testing::TestWithParam<std::tuple<ProbeCase, ProbeDepth>> {};

TEST_P(ClipProbeTest, FindsFormatLengthAndDamage) {
  const ProbeCase& c = std::get<0>(GetParam());
  ProbeFileOptions options;
  options.Depth = std::get<1>(GetParam());
  const ClipFacts facts = ProbeClipFile(Fixture(c.file), options);
  EXPECT_EQ(facts.PlayableMp3(), c.playable);
  EXPECT_EQ(facts.Container, c.container);
  std::vector<Kind> problems;
  for (const auto& problem : facts.Problems) problems.push_back(problem.What);
  EXPECT_EQ(problems, c.problems);
  if (!c.playable) return;
  EXPECT_EQ(facts.MpegVersion, c.version);
  EXPECT_EQ(facts.Layer, 3);
  EXPECT_EQ(facts.SampleRate, c.rate);
  EXPECT_EQ(facts.Channels, c.channels);
  EXPECT_EQ(facts.VariableBitRate, c.variable);
  // Scanning counts whole frames: near damage it may differ from decoding by a frame or two.
  EXPECT_NEAR(facts.Seconds(), c.seconds, options.Depth == ProbeDepth::Scan ? 0.06 : 0.03);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, ClipProbeTest,
    ::testing::Combine(
        ::testing::Values(
            ProbeCase{"mpeg1-stereo-cbr.mp3", true, "1", 44100, 2, false, 1.0, {}, ""},
            ProbeCase{"mpeg1-mono-vbr.mp3", true, "1", 44100, 1, true, 1.0, {}, ""},
            ProbeCase{"mpeg2-mono-cbr.mp3", true, "2", 22050, 1, false, 1.07, {}, ""},
            ProbeCase{
                "truncated.mp3", true, "1", 44100, 2, false, 0.97, {Kind::TruncatedLastFrame}, ""},
            ProbeCase{
                "corrupted-middle.mp3", true, "1", 44100, 2, false, 0.92, {Kind::LostSync}, ""},
            ProbeCase{"wave-named.mp3", false, "", 0, 0, false, 0, {}, "WAV"},
            ProbeCase{"empty.mp3", false, "", 0, 0, false, 0, {}, ""}),
        ::testing::Values(ProbeDepth::Decode, ProbeDepth::Scan)),
    [](const auto& info) {
      std::string name = std::get<0>(info.param).file;
      name = name.substr(0, name.find('.'));
      for (char& c : name) c = (c == '-') ? '_' : c;
      return name + (std::get<1>(info.param) == ProbeDepth::Scan ? "_scanned" : "_decoded");
    });

TEST(ClipProbe, SaysWhereTheDamageIs) {
  const ClipFacts cut = ProbeClipFile(Fixture("truncated.mp3"));
  ASSERT_EQ(cut.Problems.size(), 1u);
  // The last whole frame ends where the cut frame starts, well before the end of the file.
  EXPECT_LT(cut.Problems[0].ByteOffset, cut.Bytes);
  EXPECT_GT(cut.Problems[0].ByteOffset + 1500, cut.Bytes);
  const ClipFacts broken = ProbeClipFile(Fixture("corrupted-middle.mp3"));
  ASSERT_EQ(broken.Problems.size(), 1u);
  EXPECT_NEAR(static_cast<double>(broken.Problems[0].ByteOffset), broken.Bytes / 2.0, 500);
  EXPECT_NEAR(broken.Problems[0].Seconds, 0.5, 0.05);
}

// Files too short for the headers they start with are nothing the probe knows.
TEST(ClipProbe, AHeaderCutShortIsNoContainer) {
  for (const std::string_view bytes : {"RIFF", "RIFF\x18)\xac", "fLa", "\xFF"}) {
    const ClipFacts facts = ProbeClipBytes(bytes);
    EXPECT_EQ(facts.Container, "") << bytes;
    EXPECT_FALSE(facts.PlayableMp3()) << bytes;
  }
}

TEST(ClipProbe, FileAndBytesInOnePieceGiveTheSame) {
  const std::string bytes = testing::TempFolder::ReadAt(Fixture("corrupted-middle.mp3"));
  const ClipFacts fromFile = ProbeClipFile(Fixture("corrupted-middle.mp3"));
  const ClipFacts fromBytes = ProbeClipBytes(bytes);
  EXPECT_EQ(fromBytes.Samples, fromFile.Samples);
  EXPECT_EQ(fromBytes.Problems, fromFile.Problems);
}

}  // namespace
}  // namespace pwx
