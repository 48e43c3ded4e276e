#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pwx {

// The option that the desktop entry starts the window with.
inline constexpr const char* kFromDesktopOption = "--from-desktop";

// The name of the start folder that a window started from the desktop works in.
inline constexpr const char* kDesktopStartFolderName = "PWX36 Projects";

// The start folder of a window started from the desktop's menu, where PRJ.cfg, work/ and
// temp/ go, and a project's files until one is loaded: "PWX36 Projects" in the user's
// documents folder, or in the home folder when there is no documents folder (not set, or
// not there). A window started from a terminal works in the terminal's folder instead. Made
// when missing, and returned without a final separator. Raises "Cannot create folder ..."
// when it cannot be made, and when neither folder is known.
std::string PrepareDesktopStartFolder(const std::string& documents, const std::string& home);

}  // namespace pwx

namespace pwx {

// The words that start a command of the command line rather than the window.
inline constexpr const char* kCommandWords[] = {"check",    "deploy", "compare", "report", "import",
                                                "show",     "apply",  "set",     "diff",   "site",
                                                "timeline", "render", "accept"};

// The project folder the window is to open when the program is started with `arguments` (the
// words after its name, without kFromDesktopOption), as a file manager starts it on a folder
// or on a plist.cfg: one argument that is no command word nor option and names an existing
// folder, or a file named plist.cfg (in any case) whose folder is taken. Nothing otherwise:
// the arguments are then a command.
std::optional<std::string> ProjectFolderArgument(const std::vector<std::string>& arguments);

}  // namespace pwx
