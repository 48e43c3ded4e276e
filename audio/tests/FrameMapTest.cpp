// The frames found from their headers alone against those the decoder finds: the same frames
// wherever the walk takes a clip, and no walk where only the decoder can tell.
#include <gtest/gtest.h>

#include "audio/FrameMap.h"
#include "common/FileReading.h"

namespace pwx {
namespace {

std::string ClipBytesOf(const std::string& name) {
  return ReadFile(std::string(PWX_CLIP_FIXTURES) + "/" + name, 1 << 20).TakeBytes();
}

struct WalkCase {
  std::string name;
  std::string bytes;
  bool walks;
};
void PrintTo(const WalkCase& c, std::ostream* os) {
  *os << c.name;
}

std::vector<WalkCase> Cases() {
  const std::string good = ClipBytesOf("mpeg1-stereo-cbr.mp3");
  std::string cut = good;
  cut.erase(3000, 1);
  std::string id3v1 = good + "TAG" + std::string(125, 'x');
  return {
      {"stereo cbr", good, true},
      {"mono vbr", ClipBytesOf("mpeg1-mono-vbr.mp3"), true},
      {"mpeg2", ClipBytesOf("mpeg2-mono-cbr.mp3"), true},
      {"mpeg2.5", ClipBytesOf("mpeg25-mono-cbr.mp3"), true},
      {"layer2", ClipBytesOf("layer2.mp3"), true},
      {"id3v1 after", id3v1, true},
      {"crc protected", ClipBytesOf("crc-protected.mp3"), false},
      {"a byte lost", cut, false},
      {"bytes after", good + "junk at the end of the clip", false},
      {"zeros after id3v2", ClipBytesOf("tagged.mp3"), false},
      {"corrupted", ClipBytesOf("corrupted-middle.mp3"), false},
      {"truncated", ClipBytesOf("truncated.mp3"), false},
      {"free format", ClipBytesOf("free-format.mp3"), false},
      {"wave", ClipBytesOf("wave-mpeg.mp3"), false},
  };
}

class FrameWalkTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(FrameWalkTest, FindsTheDecodersFramesOrLeavesTheClipToIt) {
  MemoryBytes bytes(GetParam().bytes);
  const std::optional<FrameMap> walked = WalkFrameHeaders(bytes);
  ASSERT_EQ(walked.has_value(), GetParam().walks);
  if (!walked) return;
  const FrameMap decoded = MapFramesByDecoder(bytes);
  EXPECT_EQ(walked->Starts, decoded.Starts);
  EXPECT_EQ(walked->SamplesPerFrame, decoded.SamplesPerFrame);
  EXPECT_EQ(walked->SampleRate, decoded.SampleRate);
  EXPECT_EQ(walked->Channels, decoded.Channels);
  EXPECT_EQ(walked->InfoFrame, decoded.InfoFrame);
  EXPECT_EQ(walked->AnnouncedFrames, decoded.AnnouncedFrames);
}

INSTANTIATE_TEST_SUITE_P(Clips, FrameWalkTest, ::testing::ValuesIn(Cases()));

}  // namespace
}  // namespace pwx
