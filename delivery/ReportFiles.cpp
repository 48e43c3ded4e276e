#include "delivery/ReportFiles.h"

#include <filesystem>
#include <memory>
#include <set>
#include <system_error>

#include "audio/ClipFiles.h"
#include "common/FileIdentity.h"
#include "common/FileReplacement.h"
#include "common/FileSystem.h"
#include "common/FolderLock.h"
#include "common/MessageText.h"
#include "devicefiles/NameMapFile.h"
#include "devicefiles/PlayListFile.h"
#include "devicefiles/RtuVolumeFiles.h"
#include "project/ProjectFolder.h"

namespace pwx {

namespace fs = std::filesystem;

namespace {

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string OtherCase(std::string name) {
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    } else if (c >= 'A' && c <= 'Z') {
      c = Lower(c);
    }
  }
  return name;
}

// A folder as it really is: its path with links and ".." resolved as far as it exists, and
// its identity.
struct Folder {
  fs::path Real;
  std::optional<FileIdentity> Identity;
};

Folder FolderAt(fs::path path) {
  if (path.empty()) path = ".";
  std::error_code error;
  fs::path real = fs::weakly_canonical(path, error);
  if (error) real = fs::absolute(path, error);
  return Folder{real, IdentityOf(path.string())};
}

// Whether the folder's file system ignores letter case: a name it holds, spelled in the other
// case, leads to something that the folder does not list under that spelling. (Some file
// systems of that kind give each spelling an identity of its own.)
bool IgnoresCase(const fs::path& folder) {
  std::error_code error;
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    names.insert(entry.path().filename().string());
  }
  for (const auto& name : names) {
    const std::string other = OtherCase(name);
    if (other == name || names.count(other) != 0) continue;
    return fs::exists(folder / other, error);
  }
  return false;
}

bool SameFolder(const Folder& a, const Folder& b) {
  if (a.Identity && b.Identity && *a.Identity == *b.Identity) return true;
  return EqualIgnoringCase(a.Real.string(), b.Real.string()) && IgnoresCase(b.Real);
}

// Where an output goes: the folder it is named in, its name, and what stands there now.
struct Place {
  std::string Path;
  Folder In;
  std::string Name;
  std::optional<FileIdentity> File;
};

Place PlaceOf(const std::string& path) {
  const fs::path given = PathOf(path);
  return Place{path, FolderAt(given.parent_path()), given.filename().string(), IdentityOf(path)};
}

bool SameFile(const Place& a, const Place& b) {
  if (a.File && b.File && *a.File == *b.File) return true;
  if (!SameFolder(a.In, b.In)) return false;
  return a.Name == b.Name || (EqualIgnoringCase(a.Name, b.Name) && IgnoresCase(b.In.Real));
}

// The files of the project folder that the player and the editor read.
std::vector<std::string> ProjectFileNames() {
  std::vector<std::string> names{kPlayListFileName,  kRtuFileName,     kVolumeFileName,
                                 kErrorClipFileName, kNameMapFileName, kProjectPointerFileName};
  for (int clip = 1; clip <= kLibrarySize; ++clip) names.push_back(ClipFileName(clip));
  return names;
}

std::string Refusal(const std::string& output, const std::string& whose) {
  return "\"" + QuotePath(output) + "\" is " + whose +
         ": a report is never written over it. Choose another file.";
}

// Why the output would take the place of a file of `folder` among `names`, or nothing.
std::optional<std::string> RefusalIn(const Place& output, const std::string& folder,
                                     const std::vector<std::string>& names,
                                     const std::string& whose) {
  const Folder projectFolder = FolderAt(PathOf(folder));
  const bool inFolder = SameFolder(output.In, projectFolder);
  for (const auto& name : names) {
    const auto file = IdentityOf((projectFolder.Real / name).string());
    if ((output.File && file && *output.File == *file) ||
        (inFolder && EqualIgnoringCase(output.Name, name))) {
      return Refusal(output.Path, whose + " " + name);
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> RefusalOfReportFiles(const std::vector<std::string>& outputs,
                                                const std::string& projectFolder,
                                                const std::string& startFolder) {
  std::vector<Place> places;
  for (const auto& output : outputs) {
    const Place place = PlaceOf(output);
    if (auto why = RefusalIn(place, projectFolder, ProjectFileNames(), "the project's")) {
      return why;
    }
    if (auto why = RefusalIn(place, startFolder, {kProjectPointerFileName}, "the start folder's")) {
      return why;
    }
    for (const auto& earlier : places) {
      if (SameFile(place, earlier)) {
        return "\"" + QuotePath(earlier.Path) + "\" and \"" + QuotePath(output) +
               "\" are the same file: the report's PDF and its alarm table need a file each.";
      }
    }
    places.push_back(place);
  }
  return std::nullopt;
}

void WriteReportFile(const std::string& path, std::string_view bytes,
                     const std::string& projectFolder) {
  const std::string folder = projectFolder.empty() ? "." : projectFolder;
  std::unique_ptr<FolderLock> lock;
  // Beside the project's files, the report waits for another program's change to end, and
  // its temporary is not taken for one left by a killed run.
  if (SameFolder(PlaceOf(path).In, FolderAt(PathOf(folder)))) {
    lock = std::make_unique<FolderLock>(folder);
  }
  ReplaceFile(path, bytes);
}

}  // namespace pwx
