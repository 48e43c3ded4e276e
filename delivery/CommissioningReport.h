#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audio/ClipIntake.h"  // DurationText
#include "delivery/ProjectCheck.h"
#include "delivery/ReportChanges.h"
#include "delivery/ReportTesting.h"

namespace pwx {

// One input of the current mode as a save stores it.
struct ReportInput {
  std::string Input;               // "DI1", "bI3 (0011b)"
  std::vector<std::string> Clips;  // in play order, "003 Evacuate now"
  int Repeat = 1;                  // as stored
  bool AlarmOutput = false;
  // Seconds of one trigger: the clips' lengths times the repeat; none when a clip's copy
  // cannot be read.
  std::optional<double> TriggerSeconds;
  bool Silent() const { return Clips.empty(); }
};

// One occupied clip and its project copy.
struct ReportClip {
  int Number = 0;
  std::string Name;
  std::string Source;
  bool Missing = false;  // the copy is missing or cannot be read: nothing of it is known
  bool Unread = false;   // the copy is too large for the check to read: only its size is known
  double Seconds = 0;
  long SampleRate = 0;
  int Channels = 0;
  std::uint64_t Bytes = 0;
  std::string Sha256;
};

// One of the settings files as a save writes it.
struct ReportFile {
  std::string Name;
  bool Written = true;  // false for rtu.cfg when its line is refused
  std::uint64_t Bytes = 0;
  std::string Sha256;
};

// Everything a commissioning report says, worked out from what a save writes.
struct CommissioningReport {
  std::string ProjectFolder;
  std::string MadeAt;   // the date and time, as the caller writes it
  std::string Program;  // "PWX36 Editor 1.0.0"
  bool Unsaved = false;

  std::string DeviceId, BaudRate, Parity, DataBits, StopBits;
  std::string RtuLine;  // the line rtu.cfg gets, or why it is not written
  int Volume = 0;

  std::string Mode;  // the mode as the window shows it
  std::vector<ReportInput> Inputs;
  std::vector<ReportClip> Clips;
  std::vector<ReportFile> Files;
  std::vector<Finding> Findings;  // of the check, errors first

  std::string TextForm;                  // kept in the project folder as report.json
  std::optional<ReportChanges> Changes;  // since the report whose report.json the folder holds
  ReportTesting Testing;                 // each input's sequence and test result
};

struct ReportOptions {
  std::string MadeAt;
  std::string Program;
  bool Unsaved = false;  // the window holds edits the files lack
  // One trigger of an input that plays longer than this is warned of in the findings.
  double MaxTriggerSeconds = 600;
  // The progress is the check's reading of the clips; a cancel stops it, and the report made
  // then is unfinished, only to be dropped.
  WorkControl Work;
};

// Works out the report of a project: reads each clip's copy once (its length, format and
// SHA-256, and the check's scan of its frames) on all processors, and takes the settings
// files from what a save writes. Changes no file.
CommissioningReport MakeCommissioningReport(const ProjectSnapshot& project,
                                            const ReportOptions& options);

// The alarm table as CSV (UTF-8, a header row, fields quoted where they need it).
std::string AlarmTableCsv(const CommissioningReport& report);

}  // namespace pwx
