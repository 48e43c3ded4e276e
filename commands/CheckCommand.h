#pragma once

#include <atomic>
#include <ostream>
#include <string>

#include "commands/CommandExit.h"
#include "commands/ProgressPrinter.h"

namespace pwx {

struct FolderCheckRequest {
  // The project folder; empty for the one the window opens at start-up.
  std::string Folder;
  // The folder the program was started from (where PRJ.cfg is looked for).
  std::string StartFolder;
  bool Json = false;
  // How the clips decoded are counted on `err`.
  ProgressPrinter::Mode Progress = ProgressPrinter::Mode::Quiet;
  // Stops the check at the next clip; an unfinished check reports no findings.
  const std::atomic<bool>* Cancel = nullptr;
  // One trigger of an input that plays longer is warned of.
  double MaxTriggerSeconds = 600;
};

// Checks a project folder as it is on disk, without a window: loads it as the start-up
// does, runs the project check, and prints the findings to `out`, errors first: one
// "severity: where: message" line each and a summary line, or a JSON array of objects with
// severity, code, clip, input, file and message. What keeps it from checking goes to `err`,
// and so does a cancel, which gives Interrupted.
CommandExit CheckFolderCommand(const FolderCheckRequest& request, std::ostream& out,
                               std::ostream& err);

}  // namespace pwx
