#pragma once

#include <string>
#include <vector>

#include "common/FileHashCache.h"
#include "project/Editor.h"
#include "textform/ProjectText.h"
#include "textform/TextValues.h"

namespace pwx {

// What applying a text form must do to the library before the slots can name its clips.
struct LibraryPlan {
  std::vector<int> Import;  // clips whose copies are missing or differ: imported from their source
  std::vector<int> NameSource;  // clips whose copies are there: only their source is named
};

// Works out what the text's library asks of the project's library, and refuses, with the
// clip's number, a clip that a slot names while neither library has it with a source; and
// one to import whose source is no file that can be read. Reads the copies whose SHA-256 the
// text gives (those `hashes` remembers unchanged only by their stamps), writes nothing.
LibraryPlan PlanLibrary(const ProjectText& text, const AudioLibrary& library,
                        const std::string& workDir, FileHashCache* hashes = nullptr);

// What applying did.
struct ApplyResult {
  std::vector<int> Imported;
  std::vector<int> SourcesNamed;
};

// Sets the project that `editor` has open from a text form and saves it as "Save Project"
// does, by the same code: first the clips the library lacks are imported by the window's
// import (or their sources named, when their copies are there), then the settings, volume,
// mode, slots and the play list's unnamed bytes are set through the editor's controls, then
// the project is saved (plist.cfg, m3fn.txt, rtu.cfg, vol.cfg, Err1.mp3). Everything the
// text could be refused for is refused before anything is written (TextFormError); a failed
// import or save raises EditorError.
ApplyResult ApplyProjectText(Editor& editor, const ProjectText& text,
                             FileHashCache* hashes = nullptr);

}  // namespace pwx
