#include "delivery/ProjectTextFolder.h"

#include "audio/ClipFiles.h"
#include "audio/ClipIntake.h"
#include "audio/ClipProbe.h"
#include "common/FileReading.h"
#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "common/Sha256.h"
#include "devicefiles/NameMapFile.h"
#include "devicefiles/RtuVolumeFiles.h"
#include "model/SlotLabels.h"

namespace pwx {

namespace {

const char* LayerName(int layer) {
  switch (layer) {
    case 1:
      return "I";
    case 2:
      return "II";
    default:
      return "III";
  }
}

// Size, SHA-256, length and format of a clip's copy, read once.
void NoteCopy(const std::string& copy, const TextFormOptions& options, TextClip& clip) {
  ProbeFileOptions probe;
  probe.Depth = ProbeDepth::Scan;
  InputFile file(copy);
  std::optional<Sha256Digest> known;
  if (options.Hashes) known = options.Hashes->Find(copy, file.Stamp());
  Sha256 hash;
  const std::int64_t now = NowNs();
  if (!known) probe.AlsoSee = [&hash](std::string_view bytes) { hash.Update(bytes); };
  const ClipFacts facts = ProbeClipFile(file, probe);
  const Sha256Digest digest = known ? *known : hash.Finish();
  if (!known && options.Hashes) options.Hashes->Remember(copy, file.Stamp(), digest, now);
  clip.Size = file.Size();
  clip.Sha256 = HexText(digest);
  if (facts.Frames > 0) clip.Seconds = facts.Seconds();
  clip.Format = ClipFormatText(facts);
  if (options.MeasureLoudness && facts.Frames > 0) {
    if (const auto loudness = MeasureClipLoudness(copy)) clip.Lufs = loudness->IntegratedLufs;
  }
}

// What the check read of a copy, or nothing when it did not look at it.
const CopyFacts* ReadByCheck(const TextFormOptions& options, int clip) {
  if (!options.Copies) return nullptr;
  for (const CopyFacts& copy : *options.Copies) {
    if (copy.Clip == clip) return &copy;
  }
  return nullptr;
}

void TakeCopy(const CopyFacts& copy, TextClip& clip) {
  clip.Size = copy.Facts.Bytes;
  if (copy.Facts.Unread) return;
  clip.Sha256 = HexText(copy.Digest);
  if (copy.Facts.Frames > 0) clip.Seconds = copy.Facts.Seconds();
  clip.Format = ClipFormatText(copy.Facts);
}

}  // namespace

std::string ClipFormatText(const ClipFacts& facts) {
  if (!facts.Container.empty()) return facts.Container + " file";
  if (facts.Frames == 0) return "no MPEG audio";
  const std::string channels = facts.Channels == 1   ? "mono"
                               : facts.Channels == 2 ? "stereo"
                                                     : std::to_string(facts.Channels) + " channels";
  return "MPEG-" + facts.MpegVersion + " Layer " + LayerName(facts.Layer) + ", " +
         std::to_string(facts.SampleRate) + " Hz, " + channels;
}

ProjectText TextOfSnapshot(const ProjectSnapshot& snapshot, const TextFormOptions& options) {
  ProjectText text = ProjectTextOf(snapshot.Project, snapshot.ToSave.PlayList);
  const std::string& work = snapshot.WorkDir;
  for (const char* name :
       {kPlayListFileName, kNameMapFileName, kRtuFileName, kVolumeFileName, kErrorClipFileName}) {
    if (!EntryExists(work + name)) text.Missing.push_back(name);
  }
  for (TextClip& clip : text.Library) {
    const std::string copy = ProjectCopyPath(work, clip.Number);
    if (!EntryExists(copy)) {
      text.Missing.push_back(ThreeDigits(clip.Number) + ".mp3");
      continue;
    }
    if (const CopyFacts* read = ReadByCheck(options, clip.Number); read && read->Readable) {
      TakeCopy(*read, clip);
      continue;
    }
    try {
      NoteCopy(copy, options, clip);
    } catch (const EditorError& error) {
      text.Missing.push_back(ThreeDigits(clip.Number) + ".mp3 (" + error.what() + ")");
    }
  }
  // Clips the play list names that the selectors do not offer: the save drops them.
  const auto mode = static_cast<std::uint8_t>(text.Mode);
  for (int s = 0; s < kSlotCount; ++s) {
    for (int k = 0; k < kClipsPerSlot; ++k) {
      const auto& choice =
          snapshot.Project.Slots[static_cast<std::size_t>(s)].Clips[static_cast<std::size_t>(k)];
      const int stored = StoredClip(snapshot.Image, s, k);
      if (!choice.empty() || stored == 0) continue;
      text.Missing.push_back("clip " + ThreeDigits(stored) + " named by " +
                             SlotInputLabel(s, mode) + " #" + std::to_string(k + 1));
    }
  }
  return text;
}

}  // namespace pwx
