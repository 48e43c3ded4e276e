#include "delivery/CheckCommand.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/EditorError.h"
#include "common/FileSystem.h"
#include "common/JsonText.h"
#include "common/MessageText.h"
#include "delivery/HeadlessHost.h"
#include "delivery/ProjectCheck.h"
#include "devicefiles/NameMapFile.h"
#include "devicefiles/PlayListFile.h"

namespace pwx {

namespace {

// Why the folder cannot be checked, or nothing when it can: it must be a folder that can be
// listed and that holds a play list or a name map.
std::optional<std::string> WhyNotAProject(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path path(folder);
  if (!fs::is_directory(path, error)) {
    return "Project folder not found: " + QuotePath(folder);
  }
  fs::directory_iterator listing(path, error);
  if (error) {
    return "The project folder " + QuotePath(folder) + " cannot be read: " + error.message();
  }
  if (!PathExists(folder + kPlayListFileName) && !PathExists(folder + kNameMapFileName)) {
    return "Not a project folder: " + QuotePath(folder) + " holds neither " +
           std::string(kPlayListFileName) + " nor " + kNameMapFileName + ".";
  }
  return std::nullopt;
}

std::string JsonOrNull(const std::string& text) {
  return text.empty() ? "null" : JsonString(text);
}

void PrintJson(const std::vector<Finding>& findings, std::ostream& out) {
  out << "[";
  const char* separator = "\n";
  for (const Finding& f : findings) {
    out << separator << "  {\"severity\": " << JsonString(SeverityName(f.Level))
        << ", \"code\": " << JsonString(f.Code)
        << ", \"clip\": " << (f.Clip > 0 ? std::to_string(f.Clip) : "null")
        << ", \"input\": " << JsonOrNull(f.Input) << ", \"file\": " << JsonOrNull(f.File)
        << ", \"message\": " << JsonString(f.Message) << "}";
    separator = ",\n";
  }
  out << (findings.empty() ? "]\n" : "\n]\n");
}

}  // namespace

CheckExit CheckFolderCommand(const FolderCheckRequest& request, std::ostream& out,
                             std::ostream& err) {
  HeadlessHost host;
  SilentPlayer player;
  Editor editor(host, player, request.StartFolder);
  std::string folder = request.Folder.empty() ? editor.ProjectFolderAtStartup() : request.Folder;
  if (!EndsWithSeparator(folder)) folder += kPathSeparator;
  if (const auto why = WhyNotAProject(folder)) {
    err << *why << "\n";
    return CheckExit::CannotCheck;
  }
  try {
    editor.OpenProjectFolder(folder);
  } catch (const EditorError& error) {
    err << error.what() << "\n";
    return CheckExit::CannotCheck;
  }
  for (const auto& message : host.Messages) err << message << "\n";

  CheckOptions options;
  options.CompareWithDisk = false;  // the project is what is on disk
  std::size_t progressWidth = 0;
  if (request.ShowProgress) {
    // Called under the check's own lock, one clip at a time.
    options.Progress = [&err, &progressWidth](int done, int total) {
      const std::string line =
          "Decoding the clips: " + std::to_string(done) + " of " + std::to_string(total);
      progressWidth = line.size();
      err << '\r' << line << std::flush;
    };
  }
  const std::vector<Finding> findings = ErrorsFirst(CheckProject(editor.Snapshot(), options));
  if (progressWidth > 0) err << '\r' << std::string(progressWidth, ' ') << '\r' << std::flush;
  if (request.Json) {
    PrintJson(findings, out);
  } else {
    for (const Finding& finding : findings) out << FindingLine(finding) << "\n";
    out << CheckSummary(findings) << "\n";
  }
  const bool errors = std::any_of(findings.begin(), findings.end(),
                                  [](const Finding& f) { return f.Level == Severity::Error; });
  return errors ? CheckExit::ErrorsFound : CheckExit::NoErrors;
}

}  // namespace pwx
