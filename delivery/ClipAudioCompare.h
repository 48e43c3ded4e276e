#pragma once

#include <string>

#include "textform/ProjectDiff.h"

namespace pwx {

// Decodes two copies of a clip side by side (on two threads), once each, with the program's
// MP3 decoder, and tells whether their sound is the same sample for sample (so that bytes differing around it,
// new tags say, are "tags only"); measures the loudness and length of both in the same pass.
ClipAudioComparison CompareClipAudio(const std::string& copyA, const std::string& copyB);

// A comparer for the diff that decodes the copies of clip N in two project folders (each
// ending with its separator).
ClipAudioComparer FolderClipComparer(const std::string& workDirA, const std::string& workDirB);

}  // namespace pwx
