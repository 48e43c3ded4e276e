// The clip probe against real clips made by assets/clips/make-clips.sh: good ones of every
// kind the player meets, and broken ones.
#include <gtest/gtest.h>

#include <functional>
#include <random>

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
            // Its info frame is no damage: the tag stands where it stands without a CRC.
            ProbeCase{"crc-protected.mp3", true, "1", 44100, 2, false, 1.0, {}, ""},
            ProbeCase{"mpeg1-mono-vbr.mp3", true, "1", 44100, 1, true, 1.0, {}, ""},
            ProbeCase{"mpeg2-mono-cbr.mp3", true, "2", 22050, 1, false, 1.07, {}, ""},
            ProbeCase{
                "truncated.mp3", true, "1", 44100, 2, false, 0.97, {Kind::TruncatedLastFrame}, ""},
            ProbeCase{
                "corrupted-middle.mp3", true, "1", 44100, 2, false, 0.92, {Kind::LostSync}, ""},
            ProbeCase{"wave-named.mp3", false, "", 0, 0, false, 0, {}, "WAV"},
            ProbeCase{"empty.mp3", false, "", 0, 0, false, 0, {}, ""},
            // A constant rate whose encoder's tag reads as a variable one.
            ProbeCase{"cbr-info-unknown.mp3", true, "1", 44100, 2, false, 1.0, {}, ""},
            ProbeCase{"tagged.mp3", true, "1", 44100, 2, false, 1.0, {}, ""},
            ProbeCase{"mpeg25-mono-cbr.mp3", true, "2.5", 8000, 1, false, 1.15, {}, ""},
            ProbeCase{"free-format.mp3", true, "1", 44100, 1, false, 1.0, {}, ""},
            ProbeCase{"layer2.mp3", false, "1", 48000, 1, false, 1.01, {}, ""},
            // Good frames in a file that is no MP3.
            ProbeCase{"wave-mpeg.mp3", false, "", 0, 0, false, 0, {Kind::NotAudio}, "WAV"},
            ProbeCase{"riff-other.mp3", false, "", 0, 0, false, 0, {Kind::NotAudio}, "RIFF"}),
        ::testing::Values(ProbeDepth::Decode, ProbeDepth::Scan)),
    [](const auto& info) {
      std::string name = std::get<0>(info.param).file;
      name = name.substr(0, name.rfind('.'));
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

// Bytes made from a good clip and random bytes: whether the frames found in them account for
// the file decides whether it is an MP3, however many stray frame syncs the decoder finds.
std::string RandomBytes(std::size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(count, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
  return bytes;
}

std::string Good() {
  return testing::TempFolder::ReadAt(Fixture("mpeg1-stereo-cbr.mp3"));
}

// Random bytes with the header of the good clip's frames written at random places.
std::string WithHeadersSprinkled(unsigned seed, int headers) {
  std::string bytes = RandomBytes(20000, seed);
  const std::string header = Good().substr(417, 4);
  std::mt19937 random(seed + 100);
  for (int i = 0; i < headers; ++i) bytes.replace(random() % (bytes.size() - 4), 4, header);
  return bytes;
}

// Random bytes around three whole frames of the good clip, one after the other.
std::string WithFramesInside(unsigned seed) {
  std::string bytes = RandomBytes(20000, seed);
  return bytes.replace(9000, 3 * 418, Good().substr(834, 3 * 418));
}

struct MadeCase {
  const char* name;
  std::function<std::string()> bytes;
  bool playable;
  std::vector<Kind> problems;  // for the playable ones
};

void PrintTo(const MadeCase& c, std::ostream* os) {
  *os << c.name;
}

ClipFacts Probe(const std::string& bytes, ProbeDepth depth) {
  ClipProbe probe(depth);
  for (std::size_t at = 0; at < bytes.size(); at += 4096) probe.Feed(bytes.substr(at, 4096));
  return probe.Finish();
}

class MadeBytes : public ::testing::TestWithParam<std::tuple<MadeCase, ProbeDepth>> {};

TEST_P(MadeBytes, AreAnMp3OnlyWhenTheirFramesAccountForThem) {
  const MadeCase& c = std::get<0>(GetParam());
  const std::string bytes = c.bytes();
  const ClipFacts facts = Probe(bytes, std::get<1>(GetParam()));
  EXPECT_EQ(facts.Bytes, bytes.size());
  EXPECT_LE(facts.AudioBytes, facts.Bytes);
  EXPECT_EQ(facts.PlayableMp3(), c.playable)
      << facts.Frames << " frames, " << facts.AudioBytes << " of " << facts.Bytes << " bytes";
  if (!c.playable) return;
  std::vector<Kind> problems;
  for (const auto& problem : facts.Problems) problems.push_back(problem.What);
  EXPECT_EQ(problems, c.problems);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MadeBytes,
    ::testing::Combine(
        ::testing::Values(
            MadeCase{"Random1", [] { return RandomBytes(20000, 1); }, false, {}},
            MadeCase{"Random2", [] { return RandomBytes(50000, 2); }, false, {}},
            MadeCase{"Random3", [] { return RandomBytes(3000, 3); }, false, {}},
            MadeCase{"Random4", [] { return RandomBytes(200000, 4); }, false, {}},
            MadeCase{"HeadersSprinkled1", [] { return WithHeadersSprinkled(5, 8); }, false, {}},
            MadeCase{"HeadersSprinkled2", [] { return WithHeadersSprinkled(6, 40); }, false, {}},
            MadeCase{"FramesInside", [] { return WithFramesInside(7); }, false, {}},
            MadeCase{
                "JunkBefore", [] { return RandomBytes(300, 8) + Good(); }, true, {Kind::NotAudio}},
            MadeCase{
                "JunkAfter", [] { return Good() + RandomBytes(300, 9); }, true, {Kind::NotAudio}},
            MadeCase{"MuchJunkBefore", [] { return RandomBytes(40000, 10) + Good(); }, false, {}},
            MadeCase{"MuchJunkAfter", [] { return Good() + RandomBytes(40000, 11); }, false, {}},
            MadeCase{"ZerosAround",
                     [] { return std::string(2000, '\0') + Good() + std::string(3000, '\0'); },
                     true,
                     {}},
            MadeCase{"AThirdOverwritten",
                     [] { return Good().replace(4000, 6000, RandomBytes(6000, 12)); },
                     false,
                     {}},
            MadeCase{"TwoClipsOneAfterTheOther", [] { return Good() + Good(); }, true, {}}),
        ::testing::Values(ProbeDepth::Decode, ProbeDepth::Scan)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) +
             (std::get<1>(info.param) == ProbeDepth::Scan ? "_scanned" : "_decoded");
    });

TEST(ClipProbe, JunkIsPlacedWhereItIs) {
  const ClipFacts before = ProbeClipBytes(RandomBytes(300, 8) + Good());
  ASSERT_EQ(before.Problems.size(), 1u);
  EXPECT_EQ(before.Problems[0].ByteOffset, 0u);
  const ClipFacts after = ProbeClipBytes(Good() + RandomBytes(300, 9));
  ASSERT_EQ(after.Problems.size(), 1u);
  EXPECT_EQ(after.Problems[0].ByteOffset, Good().size());
  EXPECT_NEAR(after.Problems[0].Seconds, 1.0, 0.03);
}

// A file far larger than the probe may read is not read at all; its size is all it tells.
TEST(ClipProbe, AFileOverTheLimitIsNotRead) {
  ProbeFileOptions options;
  options.MaxBytes = 10000;
  bool seen = false;
  options.AlsoSee = [&](std::string_view) { seen = true; };
  const ClipFacts facts = ProbeClipFile(Fixture("mpeg1-stereo-cbr.mp3"), options);
  EXPECT_TRUE(facts.Unread);
  EXPECT_EQ(facts.Bytes, 17135u);
  EXPECT_EQ(facts.Frames, 0u);
  EXPECT_FALSE(facts.PlayableMp3());
  EXPECT_FALSE(seen);
  options.MaxBytes = 17135;
  EXPECT_TRUE(ProbeClipFile(Fixture("mpeg1-stereo-cbr.mp3"), options).PlayableMp3());
}

}  // namespace
}  // namespace pwx
