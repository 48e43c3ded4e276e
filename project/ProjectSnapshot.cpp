#include "project/ProjectSnapshot.h"

#include "common/DiagnosticLog.h"

namespace pwx {

SavedFiles FilesASaveWrites(const PlayListImage& image, const AlarmProject& project) {
  DiagnosticLog scratch;  // the traces of a real save are not wanted here
  return SavedFiles{PlayListASaveWrites(image, project, scratch),
                    RtuFileFor(project.Settings, scratch), VolumeFileFor(project.Volume)};
}

ProjectSnapshot SnapshotOf(const AlarmProject& project, const PlayListImage& image,
                           const std::string& workDir) {
  return ProjectSnapshot{project, image, FilesASaveWrites(image, project), workDir};
}

}  // namespace pwx
