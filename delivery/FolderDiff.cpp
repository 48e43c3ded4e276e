#include "delivery/FolderDiff.h"

#include "common/FileSystem.h"
#include "delivery/ClipAudioCompare.h"
#include "project/ProjectFolder.h"

namespace pwx {

ProjectText TextOfFolder(const std::string& folder, const TextFormOptions& options) {
  return TextOfSnapshot(ReadProjectFolder(WithSeparator(folder)), options);
}

ProjectDiff DiffWithFolder(const ProjectSnapshot& a, const std::string& b,
                           const TextFormOptions& options) {
  const std::string folderB = WithSeparator(b);
  return DiffProjectTexts(TextOfSnapshot(a, options), TextOfFolder(folderB, options),
                          FolderClipComparer(WithSeparator(a.WorkDir), folderB));
}

}  // namespace pwx
