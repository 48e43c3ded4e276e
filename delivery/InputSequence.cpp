#include "delivery/InputSequence.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "audio/ClipFiles.h"
#include "common/EditorError.h"
#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "delivery/ClipChecks.h"
#include "delivery/ProjectCheck.h"
#include "devicefiles/PlayListFile.h"
#include "model/SlotLabels.h"

namespace pwx {

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

// The copy plays when it is an MP3 the player takes: Layer III frames, no other file around
// them, within the player's buffer.
bool TimingPlays(const ClipTiming& timing) {
  return timing.Layer == 3 && timing.Container.empty() &&
         timing.Bytes <= static_cast<std::uint64_t>(kMaxClipBytes);
}

}  // namespace

const ClipTimings::Result& ClipTimings::Of(int clip) {
  const auto found = known_.find(clip);
  if (found != known_.end()) return found->second;
  Result result;
  std::string failure;
  if (project_.Project.Library.Entry(clip).Occupied()) {
    const std::string path = ProjectCopyPath(project_.WorkDir, clip);
    std::error_code unknown;
    const auto size = std::filesystem::file_size(PathOf(path), unknown);
    // A copy larger than the player takes is never read whole: the check's words say why.
    const bool tooLarge = !unknown && size > static_cast<std::uintmax_t>(kMaxClipBytes);
    try {
      if (!tooLarge) {
        ClipTiming timing = timer_.File(path);
        if (TimingPlays(timing)) result.Timing = timing;
      }
    } catch (const EditorError& error) {
      failure = error.what();
    }
    if (!result.Timing) {
      for (const Finding& f : ClipCopyErrors(project_, clip)) result.Problems.push_back(f.Message);
    }
  }
  if (!result.Timing && result.Problems.empty()) {
    result.Problems.push_back(failure.empty() ? "Clip " + ThreeDigits(clip) +
                                                    " is not in the library; import it."
                                              : failure);
  }
  return known_.emplace(clip, std::move(result)).first->second;
}

InputSequence SequenceOfInput(const ProjectSnapshot& project, int slot, ClipTimings& timings) {
  InputSequence sequence;
  const auto labels = InputLabelsOfMode(project.Project.Mode.Value);
  sequence.Input = labels.at(static_cast<std::size_t>(slot));
  sequence.Slot = slot;
  const PlayListImage& saved = project.ToSave.PlayList;
  for (int k = 0; k < kClipsPerSlot; ++k) {
    const int clip = StoredClip(saved, slot, k);
    if (clip == 0) break;
    sequence.Clips.push_back(clip);
  }
  sequence.Repeat = StoredRepeat(saved, slot);
  sequence.AlarmOutput = StoredAlarmOutput(saved, slot);
  // What the save of the window's choices loses is the check's error about the input.
  for (const Finding& f : InputFindings(project)) {
    if (f.Slot == slot && f.Level == Severity::Error) sequence.Problems.push_back(f.Message);
  }
  for (const int clip : sequence.Clips) {
    const auto& problems = timings.Of(clip).Problems;
    for (const auto& problem : problems) {
      if (std::find(sequence.Problems.begin(), sequence.Problems.end(), problem) ==
          sequence.Problems.end()) {
        sequence.Problems.push_back(problem);
      }
    }
  }
  if (!sequence.Plays()) return sequence;

  double at = 0;
  for (int pass = 1; pass <= sequence.Repeat; ++pass) {
    for (std::size_t k = 0; k < sequence.Clips.size(); ++k) {
      const int clip = sequence.Clips[k];
      const ClipTiming& timing = *timings.Of(clip).Timing;
      SequenceSegment segment;
      segment.Clip = clip;
      segment.Name = project.Project.Library.Entry(clip).Short_FN;
      segment.Choice = static_cast<int>(k) + 1;
      segment.Pass = pass;
      segment.Start = at;
      segment.End = at + timing.Seconds();
      segment.Silent = timing.Silent();
      segment.SoundStart =
          segment.Silent ? segment.Start : at + timing.SecondsOf(timing.LeadingSilence);
      segment.SoundEnd =
          segment.Silent ? segment.End : segment.End - timing.SecondsOf(timing.TrailingSilence);
      if (!segment.Silent && !sequence.FirstSound) sequence.FirstSound = segment.SoundStart;
      at = segment.End;
      sequence.Segments.push_back(std::move(segment));
    }
  }
  sequence.Total = at;
  return sequence;
}

std::vector<InputSequence> SequencesOfMode(const ProjectSnapshot& project) {
  ClipTimings timings(project);
  std::vector<InputSequence> sequences;
  const int inputs = InputsOfMode(project.Project.Mode.Value);
  for (int slot = 0; slot < inputs; ++slot) {
    sequences.push_back(SequenceOfInput(project, slot, timings));
  }
  return sequences;
}

std::string InputShortName(const std::string& label) {
  return label.substr(0, label.find(' '));
}

std::optional<int> InputSlotNamed(std::uint8_t mode, std::string_view name) {
  const std::string wanted = Lower(name);
  const auto labels = InputLabelsOfMode(mode);
  for (std::size_t slot = 0; slot < labels.size(); ++slot) {
    if (Lower(labels[slot]) == wanted || Lower(InputShortName(labels[slot])) == wanted) {
      return static_cast<int>(slot);
    }
  }
  return std::nullopt;
}

std::string UnknownInputText(std::uint8_t mode, std::string_view name) {
  const auto labels = InputLabelsOfMode(mode);
  return "\"" + std::string(name) + "\" is not an input of mode " + std::to_string(mode) +
         "; it has " + InputShortName(labels.front()) + " to " + InputShortName(labels.back()) +
         ".";
}

std::string SequenceSecondsText(double seconds) {
  char text[48];
  const double tenths = std::round(seconds * 10) / 10;
  if (tenths < 60) {
    std::snprintf(text, sizeof text, "%.1f s", tenths);
  } else {
    const int minutes = static_cast<int>(tenths / 60);
    std::snprintf(text, sizeof text, "%d min %.1f s", minutes, tenths - minutes * 60);
  }
  return text;
}

std::string SequenceSummaryText(const InputSequence& sequence) {
  return "first sound at " +
         (sequence.FirstSound ? SequenceSecondsText(*sequence.FirstSound) : std::string("never")) +
         ", total " + SequenceSecondsText(sequence.Total);
}

}  // namespace pwx
