#include "delivery/CommissioningReport.h"

#include <cstdio>
#include <filesystem>
#include <map>

#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "delivery/ReportText.h"
#include "devicefiles/ErrorClip.h"
#include "devicefiles/NameMapFile.h"
#include "devicefiles/PlayListFile.h"
#include "devicefiles/RtuVolumeFiles.h"

namespace pwx {

namespace {

ReportFile FileOf(const std::string& name, std::string_view bytes) {
  return {name, true, bytes.size(), HexText(Sha256Of(bytes))};
}

std::vector<ReportFile> SettingsFiles(const ProjectSnapshot& project) {
  const auto& image = project.ToSave.PlayList.Bytes;
  std::vector<ReportFile> files;
  files.push_back(
      FileOf(kPlayListFileName,
             std::string_view(reinterpret_cast<const char*>(image.data()), image.size())));
  if (project.ToSave.Rtu.Line) {
    files.push_back(FileOf(kRtuFileName, *project.ToSave.Rtu.Line));
  } else {
    files.push_back({kRtuFileName, false, 0, {}});
  }
  files.push_back(FileOf(kVolumeFileName, project.ToSave.Volume));
  files.push_back(
      FileOf(kErrorClipFileName,
             std::string_view(reinterpret_cast<const char*>(kErrorClip), kErrorClipSize)));
  files.push_back(FileOf(kNameMapFileName, EncodeNameMap(project.Project.Library)));
  return files;
}

// The folder as a full path, for a reader who is not where the program started.
std::string AbsoluteFolder(const std::string& folder) {
  std::error_code error;
  // An empty folder is the one the program started in.
  const auto path = folder.empty() ? std::filesystem::current_path(error)
                                   : std::filesystem::absolute(PathOf(folder), error);
  if (error) return folder;
  const auto text = path.lexically_normal().u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

CommissioningReport MakeCommissioningReport(const ProjectSnapshot& project,
                                            const ReportOptions& options) {
  CommissioningReport report;
  report.ProjectFolder = AbsoluteFolder(project.WorkDir);
  report.MadeAt = options.MadeAt;
  report.Program = options.Program;
  report.Unsaved = options.Unsaved;

  const ModbusRtuSettings& settings = project.Project.Settings;
  report.DeviceId = settings.DeviceId;
  report.BaudRate = settings.BaudRate;
  report.Parity = settings.Parity;
  report.DataBits = settings.DataBits;
  report.StopBits = settings.StopBits;
  report.RtuLine =
      project.ToSave.Rtu.Line
          ? *project.ToSave.Rtu.Line
          : "not written: " + (project.ToSave.Rtu.Refusal ? project.ToSave.Rtu.Refusal->Text
                                                          : std::string("the line is refused"));
  report.Volume = project.Project.Volume;
  report.Mode = project.Project.Mode.Text;

  // One read of each copy: the scan of the check, the format and length, and the hash.
  std::vector<CopyFacts> copies;
  CheckOptions check;
  check.Depth = ProbeDepth::Scan;
  check.Copies = &copies;
  check.Work = options.Work;
  check.CompareWithDisk = options.Unsaved;
  check.MaxTriggerSeconds = options.MaxTriggerSeconds;
  report.Findings = ErrorsFirst(CheckProject(project, check));
  // A cancelled report is unfinished and thrown away: the clips not read have no facts.
  if (options.Work.Cancelled()) return report;

  std::map<int, const CopyFacts*> byClip;
  for (const CopyFacts& copy : copies) byClip[copy.Clip] = &copy;
  for (const CopyFacts& copy : copies) {
    const AudioEntry& entry = project.Project.Library.Entry(copy.Clip);
    ReportClip clip;
    clip.Number = copy.Clip;
    clip.Name = entry.Short_FN;
    clip.Source = entry.Full_FN;
    clip.Missing = !copy.Readable;
    clip.Unread = copy.Readable && copy.Facts.Unread;
    if (copy.Readable) clip.Bytes = copy.Facts.Bytes;
    if (copy.Readable && !clip.Unread) {
      clip.Seconds = copy.Facts.Seconds();
      clip.SampleRate = copy.Facts.SampleRate;
      clip.Channels = copy.Facts.Channels;
      clip.Sha256 = HexText(copy.Digest);
    }
    report.Clips.push_back(clip);
  }

  const auto labels = InputLabelsOfMode(project.Project.Mode.Value);
  for (std::size_t slot = 0; slot < labels.size(); ++slot) {
    const int s = static_cast<int>(slot);
    ReportInput input;
    input.Input = labels[slot];
    input.Repeat = StoredRepeat(project.ToSave.PlayList, s);
    input.AlarmOutput = StoredAlarmOutput(project.ToSave.PlayList, s);
    double seconds = 0;
    bool known = true;
    for (int k = 0; k < kClipsPerSlot; ++k) {
      const int number = StoredClip(project.ToSave.PlayList, s, k);
      if (number == 0) break;
      input.Clips.push_back(ThreeDigits(number) + " " +
                            project.Project.Library.Entry(number).Short_FN);
      const auto found = byClip.find(number);
      if (found == byClip.end() || !found->second->Readable || found->second->Facts.Unread) {
        known = false;
      } else {
        seconds += found->second->Facts.Seconds();
      }
    }
    if (known) input.TriggerSeconds = seconds * input.Repeat;
    report.Inputs.push_back(input);
  }
  report.Files = SettingsFiles(project);
  ReportText text = ReportTextOf(project, copies);
  report.TextForm = std::move(text.Json);
  report.Changes = std::move(text.Changes);
  report.Testing = ReportTestingOf(project);
  return report;
}

std::string AlarmTableCsv(const CommissioningReport& report) {
  std::string csv =
      "Input,Clips,Repeat,Alarm Output,Seconds per trigger" + TestingCsvHeader() + "\r\n";
  for (std::size_t i = 0; i < report.Inputs.size(); ++i) {
    const ReportInput& input = report.Inputs[i];
    std::string clips;
    for (const auto& clip : input.Clips) clips += (clips.empty() ? "" : "; ") + clip;
    char seconds[32] = "";
    if (input.TriggerSeconds) std::snprintf(seconds, sizeof seconds, "%.1f", *input.TriggerSeconds);
    csv += CsvField(input.Input) + "," + CsvField(input.Silent() ? "silent" : clips) + "," +
           std::to_string(input.Repeat) + "," + (input.AlarmOutput ? "yes" : "no") + "," + seconds +
           TestingCsvFields(report.Testing, i) + "\r\n";
  }
  return csv;
}

}  // namespace pwx
