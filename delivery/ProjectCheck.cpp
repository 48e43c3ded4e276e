#include "delivery/ProjectCheck.h"

#include <algorithm>
#include <array>

#include "common/FileReading.h"
#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "delivery/ClipChecks.h"
#include "delivery/SequenceChecks.h"
#include "devicefiles/ErrorClip.h"
#include "devicefiles/PlayListFile.h"
#include "model/Choices.h"
#include "model/SlotLabels.h"

namespace pwx {

namespace {

// What the window holds in one clip choice of a slot: no clip, an offered clip, or a clip
// number the selectors do not offer (the image keeps it, the save drops it).
struct Choice {
  int Offered = 0;
  int NotOffered = 0;
  bool None() const { return Offered == 0 && NotOffered == 0; }
};

Choice ChoiceOf(const ProjectSnapshot& project, int slot, int k) {
  const std::string& text =
      project.Project.Slots[static_cast<std::size_t>(slot)].Clips[static_cast<std::size_t>(k)];
  if (text == kNoClip) return {};
  if (!text.empty()) return {TryParseInt32(text).value_or(0), 0};
  return {0, StoredClip(project.Image, slot, k)};
}

std::string ClipList(const std::vector<int>& clips) {
  std::string text;
  for (int clip : clips) text += (text.empty() ? "" : ", ") + ThreeDigits(clip);
  return text;
}

void CheckInput(const ProjectSnapshot& project, int slot, const std::string& label,
                std::vector<Finding>& findings) {
  auto add = [&](Severity level, const char* code, int choice, int clip, std::string message) {
    findings.push_back(Finding{level, code, clip, label, slot, choice, {}, std::move(message)});
  };
  std::array<Choice, kClipsPerSlot> choices;
  for (int k = 0; k < kClipsPerSlot; ++k)
    choices[static_cast<std::size_t>(k)] = ChoiceOf(project, slot, k);
  std::vector<int> saved;
  for (int k = 0; k < kClipsPerSlot; ++k) {
    const int clip = StoredClip(project.ToSave.PlayList, slot, k);
    if (clip != 0) saved.push_back(clip);
  }
  const std::string kept = saved.empty() ? "none of its clips" : "only " + ClipList(saved);

  bool reported = false;
  for (int k = 0; k < kClipsPerSlot && !reported; ++k) {
    if (choices[static_cast<std::size_t>(k)].NotOffered != 0) {
      add(Severity::Error, "slot-clip-free", k + 1, choices[static_cast<std::size_t>(k)].NotOffered,
          label + " #" + std::to_string(k + 1) + " names clip " +
              ThreeDigits(choices[static_cast<std::size_t>(k)].NotOffered) +
              ", which is not in the library: saving drops "
              "it and every later clip of " +
              label + ", keeping " + kept + ". Import clip " +
              ThreeDigits(choices[static_cast<std::size_t>(k)].NotOffered) + " or choose another.");
      reported = true;
    }
    if (!choices[static_cast<std::size_t>(k)].None()) continue;
    for (int later = k + 1; later < kClipsPerSlot && !reported; ++later) {
      if (choices[static_cast<std::size_t>(later)].Offered == 0) continue;
      add(Severity::Warning, "slot-hole", later + 1,
          choices[static_cast<std::size_t>(later)].Offered,
          label + " has no clip in #" + std::to_string(k + 1) + " but " +
              ThreeDigits(choices[static_cast<std::size_t>(later)].Offered) + " in #" +
              std::to_string(later + 1) + ": the next save keeps " + kept + ". Move the clips up.");
      reported = true;
    }
    break;  // a save ends the list at the first choice without a clip
  }
  if (std::all_of(choices.begin(), choices.end(), [](const Choice& c) { return c.None(); })) {
    add(Severity::Info, "input-silent", 0, 0,
        label + " has no clip: it stays silent when it fires.");
  }
  const std::string& repeat = project.Project.Slots[static_cast<std::size_t>(slot)].Repeat;
  const int stored = StoredRepeat(project.ToSave.PlayList, slot);
  if (TryParseInt32(repeat) != stored) {
    add(Severity::Warning, "repeat-adjusted", 0, 0,
        RepeatNotACountText(repeat, label) + "; it is saved as " + std::to_string(stored) + ".");
  }
}

void CheckInputs(const ProjectSnapshot& project, std::vector<Finding>& findings) {
  const auto labels = InputLabelsOfMode(project.Project.Mode.Value);
  for (std::size_t slot = 0; slot < labels.size(); ++slot) {
    CheckInput(project, static_cast<int>(slot), labels[slot], findings);
  }
}

void CheckSettings(const ProjectSnapshot& project, std::vector<Finding>& findings) {
  auto add = [&](const char* code, std::string message) {
    findings.push_back(
        Finding{Severity::Error, code, 0, {}, -1, 0, kRtuFileName, std::move(message)});
  };
  const ModbusRtuSettings& settings = project.Project.Settings;
  const auto& refusal = project.ToSave.Rtu.Refusal;
  if (refusal && refusal->Text == kDeviceIdRangeText) {
    add("device-id-invalid", "Device ID \"" + settings.DeviceId +
                                 "\" is not a number from 1 to 247, so rtu.cfg is not written; "
                                 "enter the player's bus address.");
  } else if (refusal) {
    add("rtu-invalid", refusal->Text);
  }
  const std::pair<const char*, std::pair<const std::string*, const std::vector<std::string>*>>
      fields[] = {{"BaudRate", {&settings.BaudRate, &kBaudRateChoices}},
                  {"Parity", {&settings.Parity, &kParityChoices}},
                  {"Data bit", {&settings.DataBits, &kDataBitsChoices}},
                  {"Stop bit", {&settings.StopBits, &kStopBitsChoices}}};
  for (const auto& [name, field] : fields) {
    const auto& [text, choices] = field;
    if (std::find(choices->begin(), choices->end(), *text) != choices->end()) continue;
    add("rtu-invalid", SettingNotKnownText(name, *text, *choices));
  }
}

void CheckFiles(const ProjectSnapshot& project, const CheckOptions& options,
                std::vector<Finding>& findings) {
  const std::string& work = project.WorkDir;
  if (options.CompareWithDisk) {
    std::vector<std::string> differing;
    const std::string plist(reinterpret_cast<const char*>(project.ToSave.PlayList.Bytes.data()),
                            project.ToSave.PlayList.Bytes.size());
    if (ReadFile(work + kPlayListFileName, kPlayListSize + 1).Bytes != plist) {
      differing.push_back(kPlayListFileName);
    }
    if (project.ToSave.Rtu.Line &&
        ReadFile(work + kRtuFileName, 4096).Bytes != *project.ToSave.Rtu.Line) {
      differing.push_back(kRtuFileName);
    }
    if (ReadFile(work + kVolumeFileName, 16).Bytes != project.ToSave.Volume) {
      differing.push_back(kVolumeFileName);
    }
    if (!differing.empty()) {
      const std::string files = JoinedWithCommas(differing);
      findings.push_back(Finding{Severity::Warning,
                                 "unsaved",
                                 0,
                                 {},
                                 -1,
                                 0,
                                 differing.front(),
                                 "The window holds edits that are not in " + files +
                                     " yet; save the project before copying it to the player."});
    }
  }
  const FileRead clip = ReadFile(work + kErrorClipFileName, kErrorClipSize + 1);
  const std::string carried(reinterpret_cast<const char*>(kErrorClip), kErrorClipSize);
  if (!clip.Ok() || clip.Bytes != carried) {
    findings.push_back(Finding{Severity::Warning,
                               "error-clip-missing",
                               0,
                               {},
                               -1,
                               0,
                               kErrorClipFileName,
                               std::string(kErrorClipFileName) +
                                   (clip.Ok() ? " differs from the error clip the editor writes"
                                              : " is missing from the project folder") +
                                   "; save the project to write it."});
  }
}

}  // namespace

std::string SeverityName(Severity severity) {
  switch (severity) {
    case Severity::Error:
      return "error";
    case Severity::Warning:
      return "warning";
    case Severity::Info:
      break;
  }
  return "info";
}

std::string Finding::Where() const {
  std::string where;
  auto part = [&](const std::string& text) { where += (where.empty() ? "" : ", ") + text; };
  if (!Input.empty()) part(Input + (ClipChoice > 0 ? " #" + std::to_string(ClipChoice) : ""));
  if (Clip > 0) part("clip " + ThreeDigits(Clip));
  if (!File.empty() && Input.empty()) part(File);
  return where.empty() ? "project" : where;
}

std::vector<Finding> CheckProject(const ProjectSnapshot& project, const CheckOptions& options) {
  std::vector<Finding> findings = CheckClips(project, options);
  CheckInputs(project, findings);
  CheckSequences(project, options, findings);
  CheckSettings(project, findings);
  CheckFiles(project, options, findings);
  return findings;
}

std::vector<Finding> InputFindings(const ProjectSnapshot& project) {
  std::vector<Finding> findings;
  CheckInputs(project, findings);
  return findings;
}

std::vector<Finding> ErrorsFirst(std::vector<Finding> findings) {
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    return static_cast<int>(a.Level) < static_cast<int>(b.Level);
  });
  return findings;
}

bool NoProblems(const std::vector<Finding>& findings) {
  return std::all_of(findings.begin(), findings.end(),
                     [](const Finding& f) { return f.Level == Severity::Info; });
}

std::string CheckSummary(const std::vector<Finding>& findings) {
  if (NoProblems(findings)) return "Check: no problems found";
  const auto errors = std::count_if(findings.begin(), findings.end(),
                                    [](const Finding& f) { return f.Level == Severity::Error; });
  const auto warnings = std::count_if(findings.begin(), findings.end(), [](const Finding& f) {
    return f.Level == Severity::Warning;
  });
  auto count = [](long n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
  };
  std::string summary = "Check: ";
  if (errors > 0) summary += count(errors, "error");
  if (warnings > 0) summary += (errors > 0 ? ", " : "") + count(warnings, "warning");
  return summary;
}

std::string FindingLine(const Finding& finding) {
  return SeverityName(finding.Level) + ": " + finding.Where() + ": " + finding.Message;
}

}  // namespace pwx
