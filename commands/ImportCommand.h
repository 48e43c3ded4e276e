#pragma once

#include <atomic>
#include <ostream>
#include <string>

#include "commands/CommandExit.h"
#include "commands/ProgressPrinter.h"

namespace pwx {

struct ImportRequest {
  std::string Folder;    // the project folder; it must exist, and may be empty of files
  int Number = 0;        // the clip, 1 to 64
  std::string File;      // the sound file to import
  bool Level = false;    // bring the clip to -16 LUFS
  bool Measure = false;  // measure the clip's loudness as written
  std::string StartFolder;
  // How a conversion shows how far it is, on `err`.
  ProgressPrinter::Mode Progress = ProgressPrinter::Mode::Quiet;
  // Stops a conversion; the project folder then stays as it was.
  const std::atomic<bool>* Cancel = nullptr;
};

// Imports one sound file into a project folder without a window, by the window's import:
// an MP3 the player plays is copied as it is (unless levelled), any other sound converted,
// the name map updated. Prints to `out` one line of what was done and what the clip is:
// "Imported F as clip 003: copied, 0:12.3, 44100 Hz, stereo", from the frame headers alone;
// its loudness only when levelled or asked to measure. A refusal or failure goes to `err`.
CommandExit ImportClipCommand(const ImportRequest& request, std::ostream& out, std::ostream& err);

}  // namespace pwx
