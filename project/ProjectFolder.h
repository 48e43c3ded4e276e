#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/DiagnosticLog.h"
#include "devicefiles/PlayListFile.h"
#include "model/AlarmProject.h"
#include "project/ProjectSnapshot.h"

// Reading a project folder: the files the player reads, as the start-up loads them, into a
// record of its own; and the start folder's PRJ.cfg, which names the current project folder.
namespace pwx {

inline constexpr const char* kProjectPointerFileName = "PRJ.cfg";

// The start folder's PRJ.cfg.
std::string ProjectPointerPath(const std::string& startFolder);

// The folder PRJ.cfg in the start folder names, with a separator at its end; nothing
// without PRJ.cfg.
std::optional<std::string> FolderInProjectPointer(const std::string& startFolder);

// The folder the start-up opens: the one PRJ.cfg in the start folder names, else the start
// folder.
std::string ProjectFolderAtStartup(const std::string& startFolder);

// A project as loading builds it: the record, the play-list image, and the choices every clip
// selector offers, which decide how the image's clips read in the record.
struct LoadedProject {
  AlarmProject Project;
  PlayListImage Image;
  std::vector<std::string> ClipChoices{kNoClip};

  LoadedProject();
};

// What loading a folder's files said besides the project.
struct FolderLoading {
  AudioLibrary NameMap;  // m3fn.txt as it was read, before clips were listed from copies
  std::string Notice;    // what the status line says of the loading; empty for nothing
  std::string Failure;   // the error of a file that could not be read; empty when all were
};

// Loads the name map and the play list that the folder has into the project, with its
// trace in `log`; a missing one gives its empty default, and a folder with neither is a new
// project. One that cannot be read is loaded as missing and its error given as the failure,
// so that nothing of the previous project stays behind to be saved into this folder. Clips
// whose copies are there without a line in the name map are listed from their copies. The
// mode and the settings are left as they are.
FolderLoading LoadProjectFiles(LoadedProject& project, const std::string& workDir,
                               DiagnosticLog& log);

// Reads vol.cfg and rtu.cfg of the folder into the record, those that exist, each through
// `run` (which may catch what a read raises). The settings of an rtu.cfg are read over the
// defaults, not over what the record held.
void ReadSettingsFiles(AlarmProject& project, const std::string& workDir, DiagnosticLog& log,
                       const std::function<void(const std::function<void()>&)>& run);

// A project folder read as the start-up loads one (name map, play list, vol.cfg, rtu.cfg),
// without PRJ.cfg and without creating or writing anything, into the snapshot of what a save
// of it would write. Raises "Project folder not found: <path>" when there is no such folder,
// and the errors of the files.
ProjectSnapshot ReadProjectFolder(const std::string& folder);

}  // namespace pwx
