#pragma once

namespace pwx {

// The program started with arguments: "check [FOLDER] [--json]", "deploy FOLDER DEST
// [--delete-stale] [--dry-run]", "compare FOLDER DEST", "--help" or "--version", run without
// a window or a display. Returns the exit status: 2 for arguments it does not
// know.
int RunCommandLine(int argc, char* argv[]);

}  // namespace pwx
