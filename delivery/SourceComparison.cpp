#include "delivery/SourceComparison.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/ClipFiles.h"
#include "audio/ClipTags.h"
#include "audio/SoundFileDecoder.h"
#include "common/EditorError.h"
#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "common/MessageText.h"

namespace pwx {

namespace {

// A source modified more than this after its copy was written changed since the import: a
// FAT card's clock ticks in 2 seconds, so a copy on one may be stamped up to that early.
constexpr std::int64_t kClockTickNs = 2'000'000'000;
// A copy that matches its source over this many bytes (or all of the shorter) before it
// differs was copied from it byte for byte: no encoder writes the same first 4 KiB as another.
constexpr std::uint64_t kCopiedStretch = 4096;
// How much of an MPEG audio source is scanned for its length (its frames' headers only).
constexpr std::uint64_t kLongestSourceScan = 256ull * 1024 * 1024;
// How far the length of a converted copy may be from its source's: the encoder's delay and
// padding, a scan's whole frames.
constexpr double kLengthToleranceSeconds = 0.5;
constexpr double kLengthToleranceShare = 0.02;

// What the editor can tell of a source's sound without decoding it.
struct SourceSound {
  std::string Kind;  // "WAV", "MPEG-1 Layer III" ...
  bool Mp3 = false;  // MPEG audio Layer III
  long Rate = 0;
  int Channels = 0;
  std::optional<double> Seconds;
};

std::string SecondsText(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", seconds);
  return text;
}

std::string LayerText(int layer) {
  return layer == 1 ? "I" : layer == 2 ? "II" : "III";
}

std::string SoundText(const SourceSound& sound) {
  std::string text = sound.Kind + ", " + GroupedDigits(static_cast<std::uint64_t>(sound.Rate)) +
                     " Hz, " +
                     (sound.Channels == 1   ? "mono"
                      : sound.Channels == 2 ? "stereo"
                                            : std::to_string(sound.Channels) + " channels");
  if (sound.Seconds) text += ", " + SecondsText(*sound.Seconds);
  return text;
}

// The sound of a source as libsndfile announces it (WAV, FLAC, Ogg, AIFF ...) or, for MPEG
// audio, as a scan of its frames finds it; none when it holds no sound the editor reads.
std::optional<SourceSound> SoundOf(const std::string& path) {
  std::optional<SourceSound> announced;
  try {
    if (const auto decoder = SoundFileDecoder::OpenIfKnown(path)) {
      SourceSound sound;
      sound.Kind = ContainerOf(ReadFile(path, kClipHeadBytes).Bytes);
      if (sound.Kind.empty()) sound.Kind = decoder->IsMpegAudio() ? "MPEG audio" : "sound file";
      sound.Rate = decoder->Format().Rate;
      sound.Channels = decoder->Format().Channels;
      if (const std::uint64_t frames = decoder->FramesAnnounced(); frames > 0 && sound.Rate > 0) {
        sound.Seconds = static_cast<double>(frames) / static_cast<double>(sound.Rate);
      }
      if (!decoder->IsMpegAudio()) return sound;
      announced = sound;
    }
  } catch (const EditorError&) {
    // Not a sound libsndfile reads: perhaps MPEG audio it does not recognise.
  }
  try {
    ProbeFileOptions scan;
    scan.Depth = ProbeDepth::Scan;
    scan.MaxBytes = kLongestSourceScan;
    const ClipFacts facts = ProbeClipFile(path, scan);
    if (facts.Frames == 0 || !facts.Container.empty()) return announced;
    SourceSound sound;
    sound.Kind = "MPEG-" + facts.MpegVersion + " Layer " + LayerText(facts.Layer);
    sound.Mp3 = facts.Layer == 3;
    sound.Rate = facts.SampleRate;
    sound.Channels = facts.Channels;
    sound.Seconds = facts.Seconds();
    return sound;
  } catch (const EditorError&) {
    return announced;
  }
}

bool SameLength(double a, double b) {
  return std::abs(a - b) <= std::max(kLengthToleranceSeconds, kLengthToleranceShare * a);
}

}  // namespace

SourceReading::SourceReading(const std::string& path) : path_(path) {
  try {
    file_.emplace(path);
  } catch (const EditorError& error) {
    failure_ = error.what();
  }
}

void SourceReading::See(std::string_view copyPiece) {
  if (!file_ || !failure_.empty() || difference_) return;
  buffer_.resize(std::max(buffer_.size(), copyPiece.size()));
  try {
    std::size_t have = 0;
    while (have < copyPiece.size()) {
      const std::size_t got = file_->Read(buffer_.data() + have, copyPiece.size() - have);
      if (got == 0) break;
      have += got;
    }
    const auto mismatch =
        std::mismatch(copyPiece.begin(), copyPiece.begin() + have, buffer_.begin());
    const auto same = static_cast<std::uint64_t>(mismatch.first - copyPiece.begin());
    if (same < copyPiece.size()) difference_ = seen_ + same;
  } catch (const EditorError& error) {
    failure_ = error.what();
  }
  seen_ += copyPiece.size();
}

void SourceReading::Finish() {
  if (!file_ || !failure_.empty() || difference_) return;
  char more = 0;
  try {
    if (file_->Read(&more, 1) > 0) difference_ = seen_;  // the source goes on
  } catch (const EditorError& error) {
    failure_ = error.what();
  }
}

std::optional<Finding> SourceFinding(int clip, const FileStamp& copyStamp, const ClipFacts& copy,
                                     const SourceReading& source) {
  const std::string file = ClipFileName(clip);
  const std::string& path = source.Path();
  auto finding = [&](Severity level, const char* code, std::string message) {
    return Finding{level, code, clip, {}, -1, 0, file, std::move(message)};
  };
  if (!source.Failure().empty()) {
    if (!EntryExists(path)) {
      return finding(Severity::Info, "source-missing",
                     "The source of clip " + ThreeDigits(clip) + ", " + path +
                         ", no longer exists; the copy in the project is the only one.");
    }
    return finding(Severity::Info, "source-missing",
                   "The source of clip " + ThreeDigits(clip) + " cannot be read (" +
                       source.Failure() + "); the copy in the project is the only one.");
  }
  const std::optional<std::uint64_t> difference = source.FirstDifference();
  if (!difference) return {};
  const std::string changed = file + " differs from its source " + path;
  const std::string takeNew =
      ": the source has changed since the import; import it again to "
      "take the new version.";
  if (source.SourceModifiedNs() > copyStamp.ModifiedNs + kClockTickNs) {
    return finding(Severity::Info, "copy-differs-from-source",
                   changed + ", which was modified after the copy was made" + takeNew);
  }
  const std::uint64_t shorter = std::min(copy.Bytes, source.SourceSize());
  if (*difference >= std::min(kCopiedStretch, shorter)) {
    std::string how =
        " matches its source " + path + " only up to byte " + GroupedDigits(*difference);
    if (*difference == source.SourceSize()) {
      how = " holds its source " + path + " whole, and more bytes after it";
    } else if (*difference == copy.Bytes) {
      how = " holds only the first " + GroupedDigits(copy.Bytes) + " of the " +
            GroupedDigits(source.SourceSize()) + " bytes of its source " + path;
    }
    return finding(Severity::Info, "copy-differs-from-source",
                   file + how +
                       ", though the source has not changed since the import: the copy was "
                       "changed in the project folder. Import the clip again to copy it anew.");
  }
  if (!copy.Problems.empty()) {
    // Damage is no conversion: the copy was spoilt, whatever it was made by.
    return finding(Severity::Info, "copy-differs-from-source",
                   changed +
                       ", which was not modified after the copy was made, and the copy is "
                       "damaged: import the clip again.");
  }
  const std::optional<SourceSound> sound = SoundOf(path);
  if (!sound) {
    return finding(Severity::Info, "copy-differs-from-source",
                   changed +
                       ", which holds no sound the editor reads: the source has changed "
                       "since the import, and the copy in the project is the only one.");
  }
  if (sound->Seconds && !SameLength(*sound->Seconds, copy.Seconds())) {
    return finding(Severity::Info, "copy-differs-from-source",
                   changed + ", which lasts " + SecondsText(*sound->Seconds) + " against the " +
                       SecondsText(copy.Seconds()) + " of the copy" + takeNew);
  }
  const std::string how = sound->Mp3 ? "levelled" : "converted to MP3, and perhaps levelled,";
  return finding(Severity::Info, "copy-converted",
                 file + " was " + how + " from its source " + path + " (" + SoundText(*sound) +
                     ") when it was imported; the copy is what the player plays, and nothing "
                     "needs doing.");
}

}  // namespace pwx
