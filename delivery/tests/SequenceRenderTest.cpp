// The render of an input's sequence against the timeline and against mpg123, which decodes
// the same copies in the same order (gaplessly, as it does by default).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "common/EditorError.h"
#include "common/FileReading.h"
#include "delivery/SequenceRender.h"
#include "delivery/tests/SequenceProject.h"

namespace pwx {
namespace {

constexpr std::size_t kWavHeaderBytes = 58;

std::vector<float> SamplesOf(const std::string& bytes) {
  std::vector<float> samples((bytes.size() - kWavHeaderBytes) / sizeof(float));
  std::memcpy(samples.data(), bytes.data() + kWavHeaderBytes, samples.size() * sizeof(float));
  return samples;
}

std::optional<std::string> Mpg123Decode(const std::vector<std::string>& files) {
  std::string command = "mpg123 -q -e f32 -s";
  for (const auto& file : files) command += " '" + file + "'";
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string out;
  char buffer[65536];
  while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
    out.append(buffer, got);
  if (pclose(pipe) != 0) return std::nullopt;
  return out;
}

TEST_F(Sequences, RenderIsTheTimelineAndTheSamplesMpg123Decodes) {
  const InputSequence di1 = Of(0);
  const std::string wav = dir / "di1.wav";
  const RenderedSound sound = RenderSequence(snapshot, di1, wav);
  EXPECT_EQ(sound.Format, (SoundFormat{44100, 2}));
  EXPECT_FALSE(sound.Resampled);
  const std::string bytes = ReadFile(wav, 1 << 24).Bytes;
  ASSERT_GT(bytes.size(), kWavHeaderBytes);
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(bytes.substr(8, 4), "WAVE");
  const std::vector<float> samples = SamplesOf(bytes);
  EXPECT_EQ(samples.size(), sound.Frames * 2);
  // Within one MP3 frame per segment of what the timeline says.
  const double frame = 1152.0 / 44100.0;
  EXPECT_NEAR(sound.Seconds(), di1.Total, frame * static_cast<double>(di1.Segments.size()));

  std::vector<std::string> copies;
  for (const auto& segment : di1.Segments) copies.push_back(Copy(segment.Clip));
  const auto decoded = Mpg123Decode(copies);
  if (!decoded) GTEST_SKIP() << "mpg123 is not installed";
  ASSERT_EQ(decoded->size(), samples.size() * sizeof(float));
  EXPECT_EQ(std::memcmp(decoded->data(), samples.data(), decoded->size()), 0);
}

TEST_F(Sequences, AMonoClipAtAnotherRatePlaysOnBothChannelsResampled) {
  editor->SetClip(0, 1, "005");  // DI1: 4 (44,100 Hz stereo), then 5 (22,050 Hz mono)
  const InputSequence di1 = Of(0);
  const RenderedSound sound = RenderSequence(snapshot, di1, dir / "mixed.wav");
  EXPECT_EQ(sound.Format, (SoundFormat{44100, 2}));
  EXPECT_TRUE(sound.Resampled);
  EXPECT_NEAR(sound.Seconds(), di1.Total, 0.03 * 4);
}

TEST_F(Sequences, ASequenceThatCannotPlayWritesNothing) {
  fs::remove(Copy(5));
  const std::string wav = dir / "di3.wav";
  WriteFile(wav, "earlier");
  EXPECT_THROW(RenderSequence(snapshot, Of(2), wav), EditorError);
  EXPECT_THROW(RenderSequence(snapshot, Of(3), wav), EditorError);  // DI4 plays nothing
  EXPECT_EQ(ReadFile(wav, 100).Bytes, "earlier");
  std::atomic<bool> cancel{true};
  EXPECT_THROW(RenderSequence(snapshot, Of(0), wav, WorkControl{{}, &cancel}), EditorError);
  EXPECT_EQ(ReadFile(wav, 100).Bytes, "earlier");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 3);
}

}  // namespace
}  // namespace pwx
