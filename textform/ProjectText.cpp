#include "textform/ProjectText.h"

#include <algorithm>
#include <cstdio>

#include "common/IntegerText.h"
#include "model/SlotLabels.h"

namespace pwx {

std::string SlotInputLabel(int slot, std::uint8_t mode) {
  if (slot == kSlotCount - 1) return "spare";
  if (mode < 4 && slot < 6) return DigitalLabel(slot);
  return BinaryLabel(slot);
}

ProjectText ProjectTextOf(const AlarmProject& project, const PlayListImage& saved) {
  ProjectText text;
  text.Settings = project.Settings;
  text.Volume = project.Volume;
  text.Mode = project.Mode.Value;
  CopyUnnamedBytes(text.Image, saved);  // the rest stands in the fields
  for (int s = 0; s < kSlotCount; ++s) {
    TextSlot& slot = text.Slots[static_cast<std::size_t>(s)];
    for (int k = 0; k < kClipsPerSlot; ++k) {
      const std::uint8_t clip = StoredClip(saved, s, k);
      if (clip == 0) break;
      slot.Clips.push_back(clip);
    }
    slot.Repeat = StoredRepeat(saved, s);
    slot.AlarmOutput = StoredAlarmOutput(saved, s);
  }
  for (int number = 1; number <= kLibrarySize; ++number) {
    const AudioEntry& entry = project.Library.Entry(number);
    if (!entry.Occupied()) continue;
    TextClip clip;
    clip.Number = number;
    clip.Name = entry.Short_FN;
    clip.Source = entry.Full_FN;
    text.Library.push_back(std::move(clip));
  }
  return text;
}

PlayListImage PlayListOfText(const ProjectText& text) {
  AlarmProject record;
  record.Mode.Value = static_cast<std::uint8_t>(text.Mode);
  record.Mode.Text = std::to_string(text.Mode);
  for (std::size_t s = 0; s < record.Slots.size(); ++s) {
    const TextSlot& slot = text.Slots[s];
    AlarmSlot& row = record.Slots[s];
    for (std::size_t k = 0; k < slot.Clips.size() && k < row.Clips.size(); ++k) {
      row.Clips[k] = ThreeDigits(slot.Clips[k]);
    }
    row.Repeat = std::to_string(slot.Repeat);
    row.AlarmOutput = slot.AlarmOutput;
  }
  PlayListImage image;
  ResetPlayListImage(image);
  CopyUnnamedBytes(image, text.Image);
  DiagnosticLog unwanted;
  return PlayListASaveWrites(image, record, unwanted);
}

const TextClip* FindClip(const ProjectText& text, int number) {
  const auto at = std::find_if(text.Library.begin(), text.Library.end(),
                               [number](const TextClip& clip) { return clip.Number == number; });
  return at == text.Library.end() ? nullptr : &*at;
}

}  // namespace pwx
