#include "commands/FolderProject.h"

#include <filesystem>
#include <system_error>

#include "commands/HeadlessHost.h"
#include "common/EditorError.h"
#include "common/FileSystem.h"
#include "common/MessageText.h"
#include "delivery/InputSequence.h"
#include "devicefiles/NameMapFile.h"
#include "devicefiles/PlayListFile.h"
#include "project/ProjectFolder.h"

namespace pwx {

std::optional<std::string> WhyNotAProject(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path path = PathOf(folder);
  if (!fs::is_directory(path, error)) {
    return "Project folder not found: " + QuotePath(folder);
  }
  fs::directory_iterator listing(path, error);
  if (error) {
    return "The project folder " + QuotePath(folder) + " cannot be read: " + error.message();
  }
  const std::string inside = WithSeparator(folder);
  if (!PathExists(inside + kPlayListFileName) && !PathExists(inside + kNameMapFileName)) {
    return "Not a project folder: " + QuotePath(folder) + " holds neither " +
           std::string(kPlayListFileName) + " nor " + kNameMapFileName + ".";
  }
  return std::nullopt;
}

bool OpenInHeadlessEditor(Editor& editor, HeadlessHost& host, const std::string& folder,
                          std::ostream& err) {
  try {
    editor.OpenProjectFolder(folder);
  } catch (const EditorError& error) {
    err << TerminalText(error.what()) << "\n";
    return false;
  }
  for (const auto& message : host.Messages) err << TerminalText(message) << "\n";
  host.Messages.clear();
  return true;
}

std::optional<ProjectSnapshot> OpenFolderProject(const std::string& folder,
                                                 const std::string& startFolder,
                                                 std::ostream& err) {
  const std::string chosen =
      WithSeparator(folder.empty() ? ProjectFolderAtStartup(startFolder) : folder);
  if (const auto why = WhyNotAProject(chosen)) {
    err << TerminalText(*why) << "\n";
    return std::nullopt;
  }
  try {
    return ReadProjectFolder(chosen);
  } catch (const EditorError& error) {
    err << TerminalText(error.what()) << "\n";
    return std::nullopt;
  }
}

std::optional<int> InputSlotArgument(const ProjectSnapshot& project, const std::string& name,
                                     std::ostream& err) {
  const std::uint8_t mode = project.Project.Mode.Value;
  const auto slot = InputSlotNamed(mode, name);
  if (!slot) err << TerminalText(UnknownInputText(mode, name)) << "\n";
  return slot;
}

}  // namespace pwx
