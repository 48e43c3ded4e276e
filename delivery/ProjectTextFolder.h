#pragma once

#include <string>

#include "common/FileHashCache.h"
#include "delivery/ProjectCheck.h"
#include "project/Editor.h"
#include "textform/ProjectText.h"

namespace pwx {

struct TextFormOptions {
  // Remembers the copies' SHA-256 between runs; none hashes every copy anew.
  FileHashCache* Hashes = nullptr;
  // Decodes every copy to measure its loudness (slow); otherwise the loudness is left out.
  bool MeasureLoudness = false;
  // What a check has just read of the copies (a report's): taken instead of reading them
  // again. A copy too large to read has only its size then.
  const std::vector<CopyFacts>* Copies = nullptr;
};

// The text form of a project as a save of it would write it (the snapshot's), with what the
// project folder holds of each clip's copy (size, SHA-256, length and format from its frame
// headers) and what the folder lacks: the player's files, the copies of listed clips, and
// clips that the play list names while the library lacks them (a save drops those).
ProjectText TextOfSnapshot(const ProjectSnapshot& snapshot, const TextFormOptions& options = {});

// "MPEG-1 Layer III, 44100 Hz, mono", or what else the file is.
std::string ClipFormatText(const ClipFacts& facts);

}  // namespace pwx
