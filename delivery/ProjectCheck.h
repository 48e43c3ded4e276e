#pragma once

#include <string>
#include <vector>

#include "audio/ClipProbe.h"
#include "common/Progress.h"
#include "common/Sha256.h"
#include "model/SlotLabels.h"
#include "project/ProjectSnapshot.h"

namespace pwx {

enum class Severity { Error, Warning, Info };

// "error", "warning" or "info".
std::string SeverityName(Severity severity);

// One thing the check found: how bad, a stable code, where, and one sentence for the user
// that says what is wrong and what to do.
struct Finding {
  Severity Level = Severity::Info;
  std::string Code;
  int Clip = 0;        // clip number 1..64, 0 when the finding is about none
  std::string Input;   // the input as the window labels it in the current mode
  int Slot = -1;       // the slot row of that input
  int ClipChoice = 0;  // "#k" of the input, 0 when none
  std::string File;    // a file of the project folder
  std::string Message;

  // "clip 003, 003.mp3", "DI1 #2", "rtu.cfg": where the user looks.
  std::string Where() const;
  bool operator==(const Finding&) const = default;
};

// What the check learnt of one occupied clip's project copy, for a report: its facts and the
// SHA-256 of its bytes, read in the same pass.
struct CopyFacts {
  int Clip = 0;
  bool Readable = false;  // false when the copy is missing or cannot be read
  ClipFacts Facts;
  Sha256Digest Digest{};
};

struct CheckOptions {
  // Whether to compare what a save would write with the files on disk (the window's check;
  // a folder checked from the command line is what is on disk).
  bool CompareWithDisk = true;
  int Threads = 0;  // clips decoded at once; 0 for every processor
  // The progress is a step of items, the clips done of the clips in all, reported from
  // whichever thread did one: "Decoding the clips", or "Reading the clips" for a scan.
  WorkControl Work;
  // Decoding every frame, or scanning the frames' headers only (a report's quick check).
  ProbeDepth Depth = ProbeDepth::Decode;
  // When set, gets a CopyFacts for each occupied clip, in clip order.
  std::vector<CopyFacts>* Copies = nullptr;
  // One trigger of an input that plays longer than this is warned of.
  double MaxTriggerSeconds = 600;
};

// Checks that a project will play: decodes every clip's project copy, and cross-checks the
// library, the inputs of the current mode, the settings and the files against each other.
// Reads files, changes none. Findings come in clip order, then input order, then settings
// and files.
std::vector<Finding> CheckProject(const ProjectSnapshot& project, const CheckOptions& options);

// The findings about the inputs of the current mode alone, from the record and what a save
// writes (no file is read): clips the library lacks, holes, repeat counts, silent inputs.
std::vector<Finding> InputFindings(const ProjectSnapshot& project);

// The findings as a list shows them: errors first, then warnings, then the rest, each in the
// order found.
std::vector<Finding> ErrorsFirst(std::vector<Finding> findings);

// Whether the findings hold no error and no warning (notes only, or none at all).
bool NoProblems(const std::vector<Finding>& findings);

// "Check: 1 error, 2 warnings", or "Check: no problems found" when there are neither.
std::string CheckSummary(const std::vector<Finding>& findings);

// "severity: where: message", one line.
std::string FindingLine(const Finding& finding);

}  // namespace pwx
