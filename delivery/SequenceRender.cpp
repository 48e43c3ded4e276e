#include "delivery/SequenceRender.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "audio/ClipFiles.h"
#include "audio/Mp3Decoder.h"
#include "audio/Resampler.h"
#include "common/EditorError.h"
#include "common/FileReplacement.h"

namespace pwx {

namespace {

constexpr std::size_t kBlockFrames = 16 * 1024;

void PutLittle(std::string& bytes, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The header of a WAV file of 32-bit float samples.
std::string WavHeader(const SoundFormat& format, std::uint64_t frames) {
  const std::uint64_t blockAlign = 4 * static_cast<std::uint64_t>(format.Channels);
  const std::uint64_t data = frames * blockAlign;
  std::string header = "RIFF";
  PutLittle(header, std::min<std::uint64_t>(data + 50, UINT32_MAX), 4);
  header += "WAVEfmt ";
  PutLittle(header, 18, 4);
  PutLittle(header, 3, 2);  // IEEE float
  PutLittle(header, static_cast<std::uint64_t>(format.Channels), 2);
  PutLittle(header, static_cast<std::uint64_t>(format.Rate), 4);
  PutLittle(header, static_cast<std::uint64_t>(format.Rate) * blockAlign, 4);
  PutLittle(header, blockAlign, 2);
  PutLittle(header, 32, 2);
  PutLittle(header, 0, 2);
  header += "fact";
  PutLittle(header, 4, 4);
  PutLittle(header, std::min<std::uint64_t>(frames, UINT32_MAX), 4);
  header += "data";
  PutLittle(header, std::min<std::uint64_t>(data, UINT32_MAX), 4);
  return header;
}

std::string_view BytesOf(const std::vector<float>& samples) {
  return {reinterpret_cast<const char*>(samples.data()), samples.size() * sizeof(float)};
}

// Writes one clip's samples in the sequence's format; returns the frames written.
std::uint64_t WriteClip(const std::string& path, const SoundFormat& out, FileReplacement& file,
                        bool& resampled) {
  Mp3FileSource source(path);
  const SoundFormat in = source.Format();
  const auto inChannels = static_cast<std::size_t>(in.Channels);
  std::unique_ptr<Resampler> resampler;
  if (in.Rate != out.Rate) {
    resampler = std::make_unique<Resampler>(static_cast<double>(in.Rate),
                                            static_cast<double>(out.Rate), in.Channels);
    resampled = true;
  }
  std::vector<float> block(kBlockFrames * inChannels);
  std::vector<float> rated;
  std::vector<float> wide;
  std::uint64_t written = 0;
  auto put = [&](const std::vector<float>& samples) {
    const std::size_t frames = samples.size() / inChannels;
    if (in.Channels == out.Channels) {
      file.Write(BytesOf(samples));
    } else {
      wide.resize(frames * 2);
      for (std::size_t i = 0; i < frames; ++i) wide[2 * i] = wide[2 * i + 1] = samples[i];
      file.Write(BytesOf(wide));
    }
    written += frames;
  };
  while (const std::size_t got = source.Read(block.data(), kBlockFrames)) {
    if (resampler) {
      rated.clear();
      resampler->Process(block.data(), got, rated);
      put(rated);
    } else {
      rated.assign(block.begin(), block.begin() + static_cast<long>(got * inChannels));
      put(rated);
    }
  }
  if (resampler) {
    rated.clear();
    resampler->Finish(rated);
    put(rated);
  }
  return written;
}

}  // namespace

RenderedSound RenderSequence(const ProjectSnapshot& project, const InputSequence& sequence,
                             const std::string& path, const WorkControl& work) {
  if (!sequence.Plays()) throw EditorError(sequence.Problems.front());
  if (sequence.Segments.empty())
    throw EditorError(sequence.Input + " plays nothing: it has no clip.");
  RenderedSound sound;
  ClipTimings timings(project);
  sound.Format.Rate = timings.Of(sequence.Segments.front().Clip).Timing->SampleRate;
  for (const SequenceSegment& segment : sequence.Segments) {
    sound.Format.Channels =
        std::max(sound.Format.Channels, timings.Of(segment.Clip).Timing->Channels);
  }
  FileReplacement file(path);
  file.Write(WavHeader(sound.Format, 0));
  const std::string step = "Rendering " + sequence.Input;
  for (std::size_t i = 0; i < sequence.Segments.size(); ++i) {
    if (work.Cancelled()) throw EditorError("Cancelled.");
    work.Report(i, sequence.Segments.size(), step, ProgressUnit::Items);
    sound.Frames += WriteClip(ProjectCopyPath(project.WorkDir, sequence.Segments[i].Clip),
                              sound.Format, file, sound.Resampled);
  }
  work.Report(sequence.Segments.size(), sequence.Segments.size(), step, ProgressUnit::Items);
  file.Overwrite(0, WavHeader(sound.Format, sound.Frames));
  file.Commit();
  return sound;
}

}  // namespace pwx
