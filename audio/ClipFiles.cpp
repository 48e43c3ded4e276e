#include "audio/ClipFiles.h"

#include <cctype>
#include <string_view>

#include "common/EditorError.h"
#include "common/FileReading.h"
#include "common/FileReplacement.h"
#include "common/FileSystem.h"
#include "common/IntegerText.h"

namespace pwx {

namespace {

bool EndsWithSuffix(const std::string& path, std::string_view suffix) {
  if (path.size() < suffix.size()) return false;
  std::string end = path.substr(path.size() - suffix.size());
  for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return end == suffix;
}

}  // namespace

bool IsMp3FileName(const std::string& path) {
  return EndsWithSuffix(path, ".mp3");
}

bool IsSoundFileName(const std::string& path) {
  for (const std::string_view suffix : kSoundFileSuffixes) {
    if (EndsWithSuffix(path, suffix)) return true;
  }
  return false;
}

std::string ClipFileName(int number) {
  return ThreeDigits(number) + ".mp3";
}

std::string ProjectCopyPath(const std::string& workDir, int number) {
  return workDir + ClipFileName(number);
}

Outcome CheckClipSize(const std::string& path, DiagnosticLog& log) {
  const FileRead read = ReadFile(path, 0);
  log.Append("Open FileLength => " + std::to_string(read.Size));
  // The reason names the file and why it cannot be read: missing, unreadable, or no
  // regular file at all (a named pipe would block the import for good).
  if (!read.Ok()) return Outcome::Refused(read.Failure);
  if (read.Size > kMaxClipBytes) return Outcome::Refused(kClipTooLargeText);
  return Outcome::Done();
}

void CopyClipIntoProject(const std::string& source, const std::string& workDir, int number,
                         DiagnosticLog& log) {
  const std::string copy = ProjectCopyPath(workDir, number);
  log.Append("Local String=> " + copy);
  log.Append("Source String=> " + source);
  // The limit holds on the bytes copied too: a source swapped or grown after the size check
  // is refused all the same.
  if (!CopyFileOver(source, copy, kMaxClipBytes)) throw EditorError(kClipTooLargeText);
}

void DeleteProjectCopy(const std::string& workDir, int number) {
  const std::string copy = ProjectCopyPath(workDir, number);
  if (PathExists(copy)) DeleteFile(copy);
}

}  // namespace pwx
