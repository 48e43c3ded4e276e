#include "delivery/ProjectTextApply.h"

#include <algorithm>
#include <set>

#include "audio/ClipFiles.h"
#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "common/Sha256.h"
#include "devicefiles/PlayListFile.h"

namespace pwx {

namespace {

bool CopyMatches(const std::string& copy, const TextClip& clip, FileHashCache* hashes) {
  if (!clip.Sha256) return true;  // the text says nothing of the copy's bytes
  try {
    return HexText(hashes ? hashes->Hash(copy).Digest : HashFile(copy)) == *clip.Sha256;
  } catch (const EditorError&) {
    return false;
  }
}

std::string ClipKey(int number) {
  return "library: clip " + ThreeDigits(number);
}

}  // namespace

LibraryPlan PlanLibrary(const ProjectText& text, const AudioLibrary& library,
                        const std::string& workDir, FileHashCache* hashes) {
  LibraryPlan plan;
  std::set<int> offered;
  for (int number = 1; number <= kLibrarySize; ++number) {
    if (library.Entry(number).Occupied()) offered.insert(number);
  }
  for (const TextClip& clip : text.Library) {
    const AudioEntry& entry = library.Entry(clip.Number);
    const std::string copy = ProjectCopyPath(workDir, clip.Number);
    const bool hasCopy = FileExists(copy);
    if (entry.Occupied() && entry.Full_FN == clip.Source &&
        (!hasCopy || CopyMatches(copy, clip, hashes))) {
      continue;
    }
    if (HasLineBreak(clip.Source)) {
      throw TextFormError(ClipKey(clip.Number),
                          "The file's path contains a line break: " + QuotePath(clip.Source));
    }
    // A copy that is there and matches keeps its bytes; so does a copy that the text says is
    // missing too, when its source is gone as well. Otherwise the clip comes from its source.
    // A missing copy comes from the source when that is there to import.
    const bool keepCopy = hasCopy ? CopyMatches(copy, clip, hashes)
                                  : !clip.Sha256.has_value() && !FileExists(clip.Source);
    if (keepCopy) {
      plan.NameSource.push_back(clip.Number);
      if (!ShortNameOf(clip.Source).empty()) offered.insert(clip.Number);
      continue;
    }
    if (!FileExists(clip.Source)) {
      throw TextFormError(ClipKey(clip.Number),
                          "its copy is not in the project folder and its source " +
                              QuotePath(clip.Source) + " is no file that can be imported.");
    }
    plan.Import.push_back(clip.Number);
    offered.insert(clip.Number);
  }
  const auto mode = static_cast<std::uint8_t>(text.Mode);
  for (int s = 0; s < kSlotCount; ++s) {
    const TextSlot& slot = text.Slots[static_cast<std::size_t>(s)];
    for (std::size_t k = 0; k < slot.Clips.size(); ++k) {
      const int number = slot.Clips[k];
      if (offered.count(number) != 0) continue;
      throw TextFormError("slot " + std::to_string(s + 1),
                          SlotInputLabel(s, mode) + " #" + std::to_string(k + 1) + " names clip " +
                              ThreeDigits(number) +
                              ", which is not in the library; give its source in the library to "
                              "import it.");
    }
  }
  return plan;
}

ApplyResult ApplyProjectText(Editor& editor, const ProjectText& text, FileHashCache* hashes) {
  CheckedRtuSettings(text.Settings, "settings.");
  const std::string workDir = editor.Dirs().Work_DIR;
  const LibraryPlan plan = PlanLibrary(text, editor.Project().Library, workDir, hashes);

  ApplyResult result;
  for (int number : plan.Import) {
    const TextClip* clip = FindClip(text, number);
    if (const Outcome outcome = editor.ImportClip(number, clip->Source); !outcome.IsDone()) {
      throw EditorError("Clip " + ThreeDigits(number) + " was not imported from " +
                        QuotePath(clip->Source) + ": " +
                        (outcome.IsCancelled() ? std::string(kImportCancelled) : outcome.Why()));
    }
    result.Imported.push_back(number);
  }
  for (int number : plan.NameSource) {
    editor.NameClipSource(number, FindClip(text, number)->Source);
    result.SourcesNamed.push_back(number);
  }

  editor.TakeUnnamedPlayListBytes(text.Image);
  editor.SetDeviceId(text.Settings.DeviceId);
  editor.SetBaudRate(text.Settings.BaudRate);
  editor.SetParity(text.Settings.Parity);
  editor.SetDataBits(text.Settings.DataBits);
  editor.SetStopBits(text.Settings.StopBits);
  editor.TrackBar1Change(text.Volume);
  editor.ComboBox1Change(std::to_string(text.Mode));
  for (int s = 0; s < kSlotCount; ++s) {
    const TextSlot& slot = text.Slots[static_cast<std::size_t>(s)];
    for (int k = 0; k < kClipsPerSlot; ++k) {
      const auto at = static_cast<std::size_t>(k);
      editor.SetClip(s, k, at < slot.Clips.size() ? ThreeDigits(slot.Clips[at]) : kNoClip);
    }
    editor.SetRepeat(s, std::to_string(slot.Repeat));
    editor.SetAlarmOutput(s, slot.AlarmOutput);
  }
  editor.SpeedButton9Click();
  return result;
}

}  // namespace pwx
