#pragma once

#include <vector>

#include "delivery/ProjectCheck.h"

namespace pwx {

// The findings about the library's clips and the project copies in the folder, in clip
// order: each occupied clip's copy decoded (on several threads), compared with its source,
// and the copies that belong to no clip.
std::vector<Finding> CheckClips(const ProjectSnapshot& project, const CheckOptions& options);

// The errors about one occupied clip's project copy (missing, unreadable, no MP3 the player
// plays, too large), in the check's words; none when it plays. Reads its frames' headers.
std::vector<Finding> ClipCopyErrors(const ProjectSnapshot& project, int clip);

}  // namespace pwx
