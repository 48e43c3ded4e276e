#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "project/Editor.h"

namespace pwx {

// Why a folder cannot be read as a project, or nothing when it can: it must be a folder that
// can be listed and that holds a play list or a name map.
std::optional<std::string> WhyNotAProject(const std::string& folder);

class HeadlessHost;

// Opens a project folder in an editor that runs without a window, as the start-up reads one.
// Says on `err` what keeps it from opening (false then) and what the loading showed.
bool OpenInHeadlessEditor(Editor& editor, HeadlessHost& host, const std::string& folder,
                          std::ostream& err);

// A project folder read by ReadProjectFolder, for the commands that run without a window:
// an empty folder names the one the window opens at start-up (`startFolder` holds PRJ.cfg).
// Says on `err` why it cannot be read and gives nothing then.
std::optional<ProjectSnapshot> OpenFolderProject(const std::string& folder,
                                                 const std::string& startFolder, std::ostream& err);

// The slot of the input of the project's mode that `name` names (its label or short name, in
// any case); says on `err` which inputs the mode has and gives nothing when it names none.
std::optional<int> InputSlotArgument(const ProjectSnapshot& project, const std::string& name,
                                     std::ostream& err);

}  // namespace pwx
