#include "delivery/ClipAudioCompare.h"

#include <algorithm>
#include <future>
#include <optional>
#include <string_view>
#include <vector>

#include "audio/ClipFiles.h"
#include "audio/LoudnessMeter.h"
#include "audio/Mp3Decoder.h"
#include "common/EditorError.h"
#include "common/Sha256.h"

namespace pwx {

namespace {

constexpr std::size_t kBlockFrames = 4096;

// One copy decoded whole: its format, length, loudness and the digest of its samples. Two
// copies sound the same when their formats, lengths and digests are equal; the decoder gives
// the same floats for the same frames, so equal sound has equal digests.
struct DecodedCopy {
  SoundFormat Format;
  std::uint64_t Frames = 0;
  std::optional<double> Lufs;
  Sha256Digest Samples{};
  std::string Trouble;  // why the copy could not be decoded

  double Seconds() const {
    return Format.Rate > 0 ? static_cast<double>(Frames) / static_cast<double>(Format.Rate) : 0;
  }
};

DecodedCopy Decode(const std::string& path) {
  DecodedCopy copy;
  try {
    Mp3FileSource source(path);
    copy.Format = source.Format();
    const std::size_t channels = static_cast<std::size_t>(std::max(copy.Format.Channels, 1));
    LoudnessMeter meter(copy.Format.Rate, copy.Format.Channels, PeakMeasure::Sample);
    std::vector<float> buffer(kBlockFrames * channels);
    Sha256 samples;
    while (const std::size_t frames = source.Read(buffer.data(), kBlockFrames)) {
      meter.Add(buffer.data(), frames);
      samples.Update(std::string_view(reinterpret_cast<const char*>(buffer.data()),
                                      frames * channels * sizeof(float)));
      copy.Frames += frames;
    }
    copy.Lufs = meter.IntegratedLufs();
    copy.Samples = samples.Finish();
  } catch (const EditorError& error) {
    copy.Trouble = error.what();
  }
  return copy;
}

}  // namespace

ClipAudioComparison CompareClipAudio(const std::string& copyA, const std::string& copyB) {
  // The two copies are decoded side by side, one on a thread of its own, so that the
  // comparison takes about the time of one decode.
  std::future<DecodedCopy> other = std::async(std::launch::async, Decode, copyB);
  const DecodedCopy a = Decode(copyA);
  const DecodedCopy b = other.get();
  ClipAudioComparison result;
  if (!a.Trouble.empty() || !b.Trouble.empty()) {
    result.What = ClipAudioComparison::Kind::Unknown;
    result.Trouble = a.Trouble.empty() ? b.Trouble : a.Trouble;
    return result;
  }
  const bool same = a.Format == b.Format && a.Frames == b.Frames && a.Samples == b.Samples;
  result.What =
      same ? ClipAudioComparison::Kind::SameAudio : ClipAudioComparison::Kind::AudioDiffers;
  result.LufsA = a.Lufs;
  result.LufsB = b.Lufs;
  result.SecondsA = a.Seconds();
  result.SecondsB = b.Seconds();
  return result;
}

ClipAudioComparer FolderClipComparer(const std::string& workDirA, const std::string& workDirB) {
  return [workDirA, workDirB](int number) -> std::optional<ClipAudioComparison> {
    return CompareClipAudio(ProjectCopyPath(workDirA, number), ProjectCopyPath(workDirB, number));
  };
}

}  // namespace pwx
