#pragma once

#include <atomic>
#include <chrono>
#include <ostream>
#include <string>

#include "commands/CommandExit.h"
#include "commands/ProgressPrinter.h"
#include "common/FolderLock.h"

namespace pwx {

struct CardCommandRequest {
  std::string Folder;       // the project folder
  std::string Destination;  // the card's root, or any folder
  std::string StartFolder;  // where the program was started
  // The file of remembered hashes (the user's cache); empty to read every file.
  std::string HashStore;
  bool DeleteStale = false;
  bool DryRun = false;
  // The plan and the result (or the comparison) as one JSON document instead of text.
  bool Json = false;
  // How the comparison and the copy show how far they are, on `err`.
  ProgressPrinter::Mode Progress = ProgressPrinter::Mode::Quiet;
  // Stops the comparison, or the copy between two files: only whole files are left.
  const std::atomic<bool>* Cancel = nullptr;
  // How long deploy waits for another copy to the same card to end before it gives up.
  std::chrono::milliseconds LockWait = kFolderLockWait;
};

// Copies a project folder to a card, holding the card's lock from the plan to the end (a
// second copy to the same card waits, then is refused): prints the plan and the result
// ("Card verified: ...") on `out`, the progress on `err`. Success only when the card is
// verified; Failed when the plan refuses or anything failed; CannotRun when the folders
// cannot be used; Interrupted when cancelled, after naming the files written whole. A dry
// run prints the plan only.
CommandExit DeployCommand(const CardCommandRequest& request, std::ostream& out, std::ostream& err);

// Compares a project folder with a card, file by file, reading every byte, and writes
// nothing. Success only when every player file is the same and no stale clip is there.
CommandExit CompareCommand(const CardCommandRequest& request, std::ostream& out, std::ostream& err);

}  // namespace pwx
