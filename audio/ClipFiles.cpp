#include "audio/ClipFiles.h"

#include "common/EditorError.h"
#include "common/FileSystem.h"
#include "common/IntegerText.h"

namespace pwx {

std::string ProjectCopyPath(const std::string& workDir, int number) {
  return workDir + ThreeDigits(number) + ".mp3";
}

std::optional<std::string> CheckClipSize(const std::string& path, DiagnosticLog& log) {
  const std::int64_t length = FileSize(path);
  log.Append("Open FileLength => " + std::to_string(length));
  if (length < 0) {
    // The open's own error names the reason ("No such file or directory", ...).
    try {
      ReadFileStart(path, 0);
    } catch (const EditorError& error) {
      return std::string(error.what());
    }
    return "Cannot open file \"" + path + "\".";
  }
  if (length > kMaxClipBytes) return std::string(kClipTooLargeText);
  return std::nullopt;
}

void CopyClipIntoProject(const std::string& source, const std::string& workDir, int number,
                         DiagnosticLog& log) {
  const std::string copy = ProjectCopyPath(workDir, number);
  log.Append("Local String=> " + copy);
  log.Append("Source String=> " + source);
  CopyFileOver(source, copy);
}

void DeleteProjectCopy(const std::string& workDir, int number) {
  const std::string copy = ProjectCopyPath(workDir, number);
  if (PathExists(copy)) DeleteFile(copy);
}

}  // namespace pwx
