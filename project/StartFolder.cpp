#include "project/StartFolder.h"

#include "common/EditorError.h"
#include "common/FileSystem.h"

namespace pwx {

std::string PrepareDesktopStartFolder(const std::string& documents, const std::string& home) {
  const std::string& base = !documents.empty() && FolderExists(documents) ? documents : home;
  if (base.empty()) {
    throw EditorError("Cannot create folder \"" + std::string(kDesktopStartFolderName) +
                      "\". The home folder is not known.");
  }
  const std::string folder = WithSeparator(base) + kDesktopStartFolderName;
  CreateFolderWithParents(folder);
  return folder;
}

}  // namespace pwx
