#pragma once

#include <string>

#include "delivery/ProjectTextFolder.h"
#include "textform/ProjectDiff.h"

namespace pwx {

// The text form of the project folder or card at `folder`, read as the start-up reads a
// project folder, with what it holds of each clip's copy. Raises EditorError for a folder
// that cannot be read.
ProjectText TextOfFolder(const std::string& folder, const TextFormOptions& options = {});

// How the project `a` (as a save of it would write it) differs from the project folder or
// card at `b`, in the player's terms; the copies of a clip whose bytes differ are decoded to
// tell new tags from other audio. Raises EditorError for a folder that cannot be read.
ProjectDiff DiffWithFolder(const ProjectSnapshot& a, const std::string& b,
                           const TextFormOptions& options = {});

}  // namespace pwx
