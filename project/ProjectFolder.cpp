#include "project/ProjectFolder.h"

#include "audio/ClipFiles.h"
#include "common/EditorError.h"
#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "common/TextFile.h"
#include "devicefiles/NameMapFile.h"
#include "devicefiles/RtuVolumeFiles.h"
#include "model/Choices.h"

namespace pwx {

namespace {

std::string ClipNumbers(const std::vector<int>& clips) {
  std::string list;
  for (const int clip : clips) list += (list.empty() ? "" : ", ") + ThreeDigits(clip);
  return list;
}

// Whether any clip choice of the slots a save writes names the clip.
bool PlayListNames(const PlayListImage& image, int clip) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    for (int k = 0; k < kClipsPerSlot; ++k) {
      if (StoredClip(image, slot, k) == clip) return true;
    }
  }
  return false;
}

// The image read into the record through the clip choices of its library.
void ApplyImage(LoadedProject& project, DiagnosticLog& log) {
  ApplyPlayList(project.Image, project.Project, project.ClipChoices, log);
}

void RefreshClipChoices(LoadedProject& project, DiagnosticLog& log) {
  project.ClipChoices = BuildClipChoices(project.Project.Library);
  ApplyImage(project, log);
}

// Lists the clips whose copies stand in the project folder while the name map has no line
// for them (`mapLines` lines read, `hasMap` false for no map at all), or names no source
// for a clip that the play list plays, so that no play-list reference to an existing copy
// is dropped at the next save. Returns what the status line says about it (empty: none).
std::string ListClipsFromCopies(LoadedProject& project, const std::string& workDir,
                                std::size_t mapLines, bool hasMap, DiagnosticLog& log) {
  std::vector<int> listed;
  for (int number = 1; number <= kLibrarySize; ++number) {
    AudioEntry& entry = project.Project.Library.Entry(number);
    if (entry.Occupied()) continue;
    const bool noLine = !hasMap || static_cast<std::size_t>(number) > mapLines;
    if (!noLine && !PlayListNames(project.Image, number)) continue;  // a stray copy stays stray
    const std::string copy = ProjectCopyPath(workDir, number);
    if (!FileExists(copy)) continue;
    entry = AudioEntry{copy, ShortNameOf(copy)};
    listed.push_back(number);
  }
  if (listed.empty()) return {};
  RefreshClipChoices(project, log);
  const bool one = listed.size() == 1;
  const std::string clips = (one ? "clip " : "clips ") + ClipNumbers(listed);
  const std::string how =
      std::string(one ? " is listed from its copy" : " are listed from their copies") +
      " in the project folder";
  if (!hasMap) return std::string(kNameMapFileName) + " is missing: " + clips + how;
  return std::string(kNameMapFileName) + " names no source for " + clips + "; " +
         (one ? "it" : "they") + how;
}

// An empty project: the library and the alarm configuration reset. The selectors keep what
// they offered until the library is looked at again.
void InitEmptyProject(LoadedProject& project, DiagnosticLog& log) {
  ResetPlayListImage(project.Image);
  project.Project.Library.Clear();
  ApplyImage(project, log);
}

}  // namespace

LoadedProject::LoadedProject() {
  ResetPlayListImage(Image);
}

std::string ProjectPointerPath(const std::string& startFolder) {
  return startFolder + kPathSeparator + kProjectPointerFileName;
}

std::optional<std::string> FolderInProjectPointer(const std::string& startFolder) {
  const std::string pointer = ProjectPointerPath(startFolder);
  if (!EntryExists(pointer)) return std::nullopt;
  std::string folder = ReadFirstLine(pointer);
  // A folder written by hand often lacks its final separator; without it every project
  // file would be named beside the folder instead of inside it.
  if (!folder.empty()) folder = WithSeparator(folder);
  return folder;
}

std::string ProjectFolderAtStartup(const std::string& startFolder) {
  // Without PRJ.cfg the first start-up has no project folder and names its files plainly,
  // so they are found in the start folder.
  return FolderInProjectPointer(startFolder).value_or(startFolder + kPathSeparator);
}

FolderLoading LoadProjectFiles(LoadedProject& project, const std::string& workDir,
                               DiagnosticLog& log) {
  FolderLoading loading;
  const auto say = [&loading](const std::string& text) {
    if (!text.empty()) loading.Notice += (loading.Notice.empty() ? "" : "; ") + text;
  };
  AudioLibrary& library = project.Project.Library;
  const bool hasNameMap = EntryExists(workDir + kNameMapFileName);
  const bool hasPlayList = EntryExists(workDir + kPlayListFileName);
  std::size_t mapLines = 0;
  if (!hasNameMap && !hasPlayList) {
    InitEmptyProject(project, log);
  } else {
    library.Clear();
    if (hasNameMap) {
      try {
        say(OmissionsNotice(LoadNameMap(library, workDir, log, &mapLines)));
      } catch (const EditorError& error) {
        loading.Failure = error.what();
        library.Clear();
        mapLines = 0;
      }
    }
    if (!hasPlayList) ResetPlayListImage(project.Image);
    RefreshClipChoices(project, log);
    if (hasPlayList) {
      try {
        if (ReadPlayListFile(project.Image, workDir, log) != 0) ApplyImage(project, log);
      } catch (const EditorError& error) {
        if (loading.Failure.empty()) loading.Failure = error.what();
        ResetPlayListImage(project.Image);
        ApplyImage(project, log);
      }
    }
  }
  loading.NameMap = library;
  say(ListClipsFromCopies(project, workDir, mapLines, hasNameMap, log));
  return loading;
}

void ReadSettingsFiles(AlarmProject& project, const std::string& workDir, DiagnosticLog& log,
                       const std::function<void(const std::function<void()>&)>& run) {
  if (EntryExists(workDir + kVolumeFileName)) {
    run([&] { ReadVolumeFile(project, workDir, log); });
  }
  if (EntryExists(workDir + kRtuFileName)) {
    run([&] {
      ModbusRtuSettings settings;
      ReadRtuFile(settings, workDir, log);
      project.Settings = settings;
    });
  }
}

ProjectSnapshot ReadProjectFolder(const std::string& folder) {
  if (!FolderExists(folder)) throw EditorError("Project folder not found: " + QuotePath(folder));
  const std::string workDir = WithSeparator(folder);
  DiagnosticLog log;  // the trace belongs to the window's flows
  LoadedProject project;
  const FolderLoading loading = LoadProjectFiles(project, workDir, log);
  if (!loading.Failure.empty()) throw EditorError(loading.Failure);
  ReadSettingsFiles(project.Project, workDir, log,
                    [](const std::function<void()>& read) { read(); });
  return SnapshotOf(project.Project, project.Image, workDir);
}

}  // namespace pwx
