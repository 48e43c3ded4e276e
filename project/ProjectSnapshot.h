#pragma once

#include <string>

#include "devicefiles/PlayListFile.h"
#include "devicefiles/RtuVolumeFiles.h"
#include "model/AlarmProject.h"

namespace pwx {

// The bytes a save would write of the files that hold the window's edits: the play list,
// the RTU line (or its refusal) and the volume. The name map and the clips are on disk
// already, written at each import and removal.
struct SavedFiles {
  PlayListImage PlayList;
  RtuFileContent Rtu;
  std::string Volume;
  bool operator==(const SavedFiles&) const = default;
};

// What a save of this record and play-list image writes, computed by the code that saves.
SavedFiles FilesASaveWrites(const PlayListImage& image, const AlarmProject& project);

// A project as the work after editing reads it, taken at one moment, so that it can be read
// on other threads while the window goes on: the record, the play list as last loaded or
// saved, what a save would write now, and the project folder.
struct ProjectSnapshot {
  AlarmProject Project;
  PlayListImage Image;  // as last loaded or saved, with clip numbers the selectors do not offer
  SavedFiles ToSave;    // what a save would write now
  std::string WorkDir;  // ending with the separator, or empty for bare file names
  bool operator==(const ProjectSnapshot&) const = default;
};

// The snapshot of a record and its play-list image in a project folder.
ProjectSnapshot SnapshotOf(const AlarmProject& project, const PlayListImage& image,
                           const std::string& workDir);

}  // namespace pwx
