#include "delivery/ReportChanges.h"

#include <filesystem>

#include "common/EditorError.h"
#include "common/FileReading.h"
#include "common/FileSystem.h"
#include "delivery/ProjectTextFolder.h"
#include "textform/ProjectDiff.h"
#include "textform/ProjectTextJson.h"
#include "textform/TextToCompare.h"

namespace pwx {

namespace {

// Larger than any text form of a project: 64 clips with their longest names and sources.
constexpr std::size_t kMaxTextFormBytes = 8u << 20;

ReportChanges ChangesSince(const std::string& previous, const ProjectText& now) {
  ReportChanges changes;
  const FileRead read = ReadFile(previous, kMaxTextFormBytes);
  if (!read.Ok()) {
    changes.Trouble = read.Failure;
    return changes;
  }
  try {
    // The copies of the last report are gone: a clip whose bytes differ "differs".
    const ProjectDiff diff = DiffProjectTexts(ReadTextToCompare(read.Bytes, now), now);
    for (const DiffLine& line : diff.Lines) changes.Lines.push_back(line.Text);
  } catch (const TextFormError& error) {
    changes.Trouble = std::string(kReportTextFileName) + " cannot be read: " + error.what();
  }
  return changes;
}

}  // namespace

std::string ReportTextPathIn(const std::string& projectFolder) {
  return WithSeparator(projectFolder.empty() ? "." : projectFolder) + kReportTextFileName;
}

ReportText ReportTextOf(const ProjectSnapshot& project, const std::vector<CopyFacts>& copies) {
  TextFormOptions options;
  options.Copies = &copies;
  const ProjectText now = TextOfSnapshot(project, options);
  ReportText text;
  text.Json = ProjectTextJson(now);
  if (project.WorkDir.empty()) return text;
  const std::string previous = ReportTextPathIn(project.WorkDir);
  if (EntryExists(previous)) text.Changes = ChangesSince(previous, now);
  return text;
}

}  // namespace pwx
