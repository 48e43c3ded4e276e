#pragma once

#include <ostream>
#include <string>

namespace pwx {

// How the folder check ends, as the program's exit status.
enum class CheckExit : int {
  NoErrors = 0,     // the check found no error (warnings and infos may be there)
  ErrorsFound = 1,  // the check found at least one error
  CannotCheck = 2,  // the folder cannot be read, or is not a project folder
};

struct FolderCheckRequest {
  // The project folder; empty for the one the window opens at start-up.
  std::string Folder;
  // The folder the program was started from (where PRJ.cfg is looked for).
  std::string StartFolder;
  bool Json = false;
  // Counts the clips decoded on `err`, on one line that is cleared at the end (for a
  // terminal).
  bool ShowProgress = false;
};

// Checks a project folder as it is on disk, without a window: loads it as the start-up
// does, runs the project check, and prints the findings to `out`, errors first: one
// "severity: where: message" line each and a summary line, or a JSON array of objects with
// severity, code, clip, input, file and message. What keeps it from checking goes to `err`.
CheckExit CheckFolderCommand(const FolderCheckRequest& request, std::ostream& out,
                             std::ostream& err);

}  // namespace pwx
