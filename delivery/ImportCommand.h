#pragma once

#include <atomic>
#include <ostream>
#include <string>

#include "delivery/CommandExit.h"

namespace pwx {

struct ImportRequest {
  std::string Folder;  // the project folder; it must exist, and may be empty of files
  int Number = 0;      // the clip, 1 to 64
  std::string File;    // the sound file to import
  bool Level = false;  // bring the clip to -16 LUFS
  std::string StartFolder;
  // Stops a conversion; the project folder then stays as it was.
  const std::atomic<bool>* Cancel = nullptr;
};

// Imports one sound file into a project folder without a window, by the window's import:
// an MP3 is copied as it is (unless levelled), any other sound converted, the name map
// updated. Prints what was imported to `out`, a refusal or failure to `err`.
CommandExit ImportClipCommand(const ImportRequest& request, std::ostream& out, std::ostream& err);

}  // namespace pwx
