#include "delivery/ClipAudioCompare.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "audio/ClipFiles.h"
#include "audio/LoudnessMeter.h"
#include "audio/Mp3Decoder.h"
#include "common/EditorError.h"

namespace pwx {

namespace {

constexpr std::size_t kBlockFrames = 4096;

// One side: its decoder, its meter and how much of it has been read.
struct Side {
  explicit Side(const std::string& path) : Source(path) {
    const SoundFormat format = Source.Format();
    Meter = std::make_unique<LoudnessMeter>(format.Rate, format.Channels, PeakMeasure::Sample);
    Buffer.resize(kBlockFrames * static_cast<std::size_t>(std::max(format.Channels, 1)));
  }
  // Reads the next block; its frame count, 0 at the end.
  std::size_t Next() {
    const std::size_t frames = Source.Read(Buffer.data(), kBlockFrames);
    Meter->Add(Buffer.data(), frames);
    Frames += frames;
    return frames;
  }
  double Seconds() const {
    const long rate = Source.Format().Rate;
    return rate > 0 ? static_cast<double>(Frames) / static_cast<double>(rate) : 0;
  }

  Mp3FileSource Source;
  std::unique_ptr<LoudnessMeter> Meter;
  std::vector<float> Buffer;
  std::uint64_t Frames = 0;
};

}  // namespace

ClipAudioComparison CompareClipAudio(const std::string& copyA, const std::string& copyB) {
  ClipAudioComparison result;
  try {
    Side a(copyA);
    Side b(copyB);
    const std::size_t channels = static_cast<std::size_t>(std::max(a.Source.Format().Channels, 1));
    bool same = a.Source.Format() == b.Source.Format();
    while (true) {
      const std::size_t framesA = a.Next();
      const std::size_t framesB = b.Next();
      if (framesA != framesB ||
          !std::equal(a.Buffer.begin(),
                      a.Buffer.begin() + static_cast<std::ptrdiff_t>(framesA * channels),
                      b.Buffer.begin())) {
        same = false;
      }
      if (framesA == 0 && framesB == 0) break;
    }
    result.What =
        same ? ClipAudioComparison::Kind::SameAudio : ClipAudioComparison::Kind::AudioDiffers;
    result.LufsA = a.Meter->IntegratedLufs();
    result.LufsB = b.Meter->IntegratedLufs();
    result.SecondsA = a.Seconds();
    result.SecondsB = b.Seconds();
  } catch (const EditorError& error) {
    result.What = ClipAudioComparison::Kind::Unknown;
    result.Trouble = error.what();
  }
  return result;
}

ClipAudioComparer FolderClipComparer(const std::string& workDirA, const std::string& workDirB) {
  return [workDirA, workDirB](int number) -> std::optional<ClipAudioComparison> {
    return CompareClipAudio(ProjectCopyPath(workDirA, number), ProjectCopyPath(workDirB, number));
  };
}

}  // namespace pwx
