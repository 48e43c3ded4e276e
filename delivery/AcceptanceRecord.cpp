#include "delivery/AcceptanceRecord.h"

#include <algorithm>

#include "audio/ClipFiles.h"
#include "common/EditorError.h"
#include "common/FileReading.h"
#include "common/FileSystem.h"
#include "common/Sha256.h"
#include "delivery/InputSequence.h"
#include "delivery/ReportFiles.h"
#include "devicefiles/NameMapFile.h"
#include "devicefiles/PlayListFile.h"
#include "devicefiles/RtuVolumeFiles.h"
#include "model/SlotLabels.h"

namespace pwx {

namespace {

constexpr std::size_t kLargestRecord = 16 * 1024 * 1024;

std::string HashOf(std::string_view bytes) {
  return HexText(Sha256Of(bytes));
}

// The files that make one project's sound: its play list, its name map and its clips.
bool NamesTheSound(const std::string& name) {
  return name == kPlayListFileName || name == kNameMapFileName ||
         (name.size() == 7 && name.substr(3) == ".mp3");
}

}  // namespace

std::string TestResultName(TestResult result) {
  return result == TestResult::Passed ? "passed" : "failed";
}

ProjectFingerprint FingerprintOf(const ProjectSnapshot& project) {
  ProjectFingerprint fingerprint;
  const auto& image = project.ToSave.PlayList.Bytes;
  fingerprint.PlayerFiles[kPlayListFileName] =
      HashOf({reinterpret_cast<const char*>(image.data()), image.size()});
  fingerprint.PlayerFiles[kNameMapFileName] = HashOf(EncodeNameMap(project.Project.Library));
  if (project.ToSave.Rtu.Line)
    fingerprint.PlayerFiles[kRtuFileName] = HashOf(*project.ToSave.Rtu.Line);
  fingerprint.PlayerFiles[kVolumeFileName] = HashOf(project.ToSave.Volume);
  std::map<int, std::string> clips;
  for (int clip = 1; clip <= kLibrarySize; ++clip) {
    if (!project.Project.Library.Entry(clip).Occupied()) continue;
    try {
      clips[clip] = HexText(HashFile(ProjectCopyPath(project.WorkDir, clip)));
      fingerprint.PlayerFiles[ClipFileName(clip)] = clips[clip];
    } catch (const EditorError&) {
      clips[clip] = "";  // a missing copy: what plays is not known
    }
  }
  const int mode = project.Project.Mode.Value;
  for (int slot = 0; slot < InputsOfMode(project.Project.Mode.Value); ++slot) {
    InputFingerprint input;
    input.Mode = mode;
    for (int k = 0; k < kClipsPerSlot; ++k) {
      const int clip = StoredClip(project.ToSave.PlayList, slot, k);
      if (clip == 0) break;
      input.Clips.emplace_back(clip, clips.count(clip) ? clips[clip] : "");
    }
    input.Repeat = StoredRepeat(project.ToSave.PlayList, slot);
    input.AlarmOutput = StoredAlarmOutput(project.ToSave.PlayList, slot);
    fingerprint.Inputs.push_back(std::move(input));
  }
  return fingerprint;
}

std::optional<std::string> RecordForOtherFiles(const AcceptanceRecord& record,
                                               const ProjectFingerprint& project) {
  bool named = false;
  for (const auto& [name, sha] : record.PlayerFiles) {
    if (!NamesTheSound(name)) continue;
    named = true;
    const auto now = project.PlayerFiles.find(name);
    if (now != project.PlayerFiles.end() && now->second == sha) return std::nullopt;
  }
  if (!named) return std::nullopt;
  return std::string(kAcceptanceFileName) +
         " was recorded for other player files: none of the play list, the name map or the "
         "clips it was tied to is in this project. It is left as it is; move it away to start "
         "a new record.";
}

std::optional<AcceptanceRecord> ReadAcceptanceRecord(const ProjectSnapshot& project,
                                                     const ProjectFingerprint& fingerprint) {
  const std::string path = project.WorkDir + kAcceptanceFileName;
  if (!EntryExists(path)) return std::nullopt;
  const FileRead read = ReadFile(path, kLargestRecord);
  if (!read.Ok()) throw EditorError(read.Failure);
  AcceptanceRecord record =
      ParseAcceptanceJson(read.Bytes, project.Project.Mode.Value, kAcceptanceFileName);
  if (auto other = RecordForOtherFiles(record, fingerprint)) throw EditorError(*other);
  return record;
}

std::vector<InputTestStatus> TestStatusOf(const std::optional<AcceptanceRecord>& record,
                                          const ProjectSnapshot& project,
                                          const ProjectFingerprint& fingerprint) {
  const std::uint8_t mode = project.Project.Mode.Value;
  const auto labels = InputLabelsOfMode(mode);
  std::vector<InputTestStatus> statuses;
  for (std::size_t slot = 0; slot < labels.size(); ++slot) {
    InputTestStatus status;
    status.Input = labels[slot];
    if (record) {
      for (const InputTest& test : record->Tests) {
        if (InputSlotNamed(mode, test.Input) != static_cast<int>(slot)) continue;
        status.Test = test;
        const bool same =
            slot < fingerprint.Inputs.size() && fingerprint.Inputs[slot] == test.TestedAs;
        status.State = !same                               ? TestState::Void
                       : test.Result == TestResult::Passed ? TestState::Passed
                                                           : TestState::Failed;
      }
    }
    statuses.push_back(std::move(status));
  }
  return statuses;
}

int ValidResults(const std::vector<InputTestStatus>& statuses) {
  return static_cast<int>(std::count_if(statuses.begin(), statuses.end(), [](const auto& s) {
    return s.State == TestState::Passed || s.State == TestState::Failed;
  }));
}

std::string TestedSummary(const std::vector<InputTestStatus>& statuses) {
  return "Tested: " + std::to_string(ValidResults(statuses)) + " of " +
         std::to_string(statuses.size()) + " inputs";
}

AcceptanceRecord RecordTestResult(const ProjectSnapshot& project, const TestEntry& entry) {
  return RecordTestResult(project, entry, FingerprintOf(project));
}

AcceptanceRecord RecordTestResult(const ProjectSnapshot& project, const TestEntry& entry,
                                  const ProjectFingerprint& fingerprint) {
  AcceptanceRecord record = ReadAcceptanceRecord(project, fingerprint).value_or(AcceptanceRecord{});
  const std::uint8_t mode = project.Project.Mode.Value;
  const std::string input =
      InputShortName(InputLabelsOfMode(mode).at(static_cast<std::size_t>(entry.Slot)));
  std::erase_if(record.Tests,
                [&](const InputTest& t) { return InputSlotNamed(mode, t.Input) == entry.Slot; });
  InputTest test;
  test.Input = input;
  test.Result = entry.Result;
  test.Time = entry.Time;
  test.Note = entry.Note;
  test.TestedAs = fingerprint.Inputs.at(static_cast<std::size_t>(entry.Slot));
  record.Tests.push_back(std::move(test));
  std::sort(record.Tests.begin(), record.Tests.end(), [&](const InputTest& a, const InputTest& b) {
    return InputSlotNamed(mode, a.Input) < InputSlotNamed(mode, b.Input);
  });
  if (entry.Witness) record.Witness = *entry.Witness;
  if (entry.Date) {
    record.Date = *entry.Date;
  } else if (entry.Witness || record.Date.empty()) {
    record.Date = entry.Time.substr(0, 10);
  }
  record.PlayerFiles = fingerprint.PlayerFiles;
  WriteReportFile(project.WorkDir + kAcceptanceFileName, AcceptanceJson(record), project.WorkDir);
  return record;
}

}  // namespace pwx
