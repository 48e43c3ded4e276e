#include "project/StartFolder.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "common/EditorError.h"
#include "common/FileSystem.h"
#include "common/PathText.h"
#include "devicefiles/PlayListFile.h"

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

namespace pwx {

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

std::optional<std::string> ProjectFolderArgument(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return std::nullopt;
  const std::string& argument = arguments.front();
  if (argument.empty() || argument.front() == '-') return std::nullopt;
  for (const char* word : kCommandWords) {
    if (argument == word) return std::nullopt;
  }
  if (FolderExists(argument)) return argument;
  const std::string name = FolderName(argument);
  if (!FileExists(argument) || !SameLetters(name, kPlayListFileName)) return std::nullopt;
  const std::string folder = argument.substr(0, argument.size() - name.size());
  return folder.empty() ? std::string(".") : folder;
}

}  // namespace pwx
