#include "delivery/CardPlan.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "audio/ClipFiles.h"
#include "common/EditorError.h"
#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "devicefiles/ErrorClip.h"
#include "devicefiles/NameMapFile.h"
#include "devicefiles/PlayListFile.h"
#include "devicefiles/RtuVolumeFiles.h"

namespace pwx {

namespace fs = std::filesystem;

namespace {

// "NNN.mp3" in any case of the extension, as a FAT card may show it.
bool IsNumberedClipName(const std::string& name) {
  if (name.size() != 7 || name[3] != '.') return false;
  for (int i = 0; i < 3; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[static_cast<std::size_t>(i)]))) return false;
  }
  return IsMp3FileName(name);
}

// The largest free space the copy needs: each file is written beside the one it replaces,
// which is freed only by the rename.
std::uint64_t NeededBytes(const std::vector<PlayerFile>& files) {
  std::int64_t growth = 0;
  std::int64_t peak = 0;
  for (const PlayerFile& file : files) {
    if (file.UpToDate) continue;
    const auto bytes = static_cast<std::int64_t>(file.Bytes);
    peak = std::max(peak, growth + bytes);
    growth += bytes - static_cast<std::int64_t>(file.OnCard ? file.CardBytes : 0);
  }
  return static_cast<std::uint64_t>(std::max<std::int64_t>(peak, 0));
}

// "/a/b/" as "/a/b", so that its parts compare with those of other paths.
fs::path WithoutTrailingSeparator(fs::path path) {
  if (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
  return path;
}

Sha256Digest DigestOf(const std::string& path, FileHashCache* cache, const FileHashing& how) {
  return cache ? cache->Hash(path, how) : HashFile(path, how);
}

}  // namespace

int DeployPlan::FilesToWrite() const {
  return static_cast<int>(
      std::count_if(Files.begin(), Files.end(), [](const PlayerFile& f) { return !f.UpToDate; }));
}

std::uint64_t DeployPlan::BytesToWrite() const {
  std::uint64_t bytes = 0;
  for (const PlayerFile& file : Files) bytes += file.UpToDate ? 0 : file.Bytes;
  return bytes;
}

int DeployPlan::FilesUpToDate() const {
  return static_cast<int>(Files.size()) - FilesToWrite();
}

std::uint64_t DeployPlan::BytesOfProject() const {
  std::uint64_t bytes = 0;
  for (const PlayerFile& file : Files) bytes += file.Bytes;
  return bytes;
}

std::vector<std::string> PlayerFileNames(const ProjectSnapshot& project) {
  std::vector<std::string> names;
  for (int clip = 1; clip <= kLibrarySize; ++clip) {
    if (project.Project.Library.Entry(clip).Occupied()) names.push_back(ClipFileName(clip));
  }
  for (const char* name :
       {kErrorClipFileName, kNameMapFileName, kVolumeFileName, kRtuFileName, kPlayListFileName}) {
    names.emplace_back(name);
  }
  return names;
}

std::optional<std::string> WhyNotADestination(const std::string& projectFolder,
                                              const std::string& destination) {
  std::error_code error;
  const fs::path target = PathOf(destination);
  if (!fs::exists(target, error)) {
    return "The destination " + QuotePath(destination) + " does not exist.";
  }
  if (!fs::is_directory(target, error)) {
    return "The destination " + QuotePath(destination) + " is not a folder.";
  }
  const fs::path project =
      WithoutTrailingSeparator(fs::weakly_canonical(PathOf(projectFolder), error));
  const fs::path card = WithoutTrailingSeparator(fs::weakly_canonical(target, error));
  if (error) {
    return "The destination " + QuotePath(destination) + " cannot be read: " + error.message();
  }
  const auto [inProject, inCard] =
      std::mismatch(project.begin(), project.end(), card.begin(), card.end());
  if (inProject != project.end()) return std::nullopt;  // the card's path leaves the project's
  return inCard == card.end() ? "The destination is the project folder itself; choose the card."
                              : "The destination lies inside the project folder; choose the card.";
}

DeployPlan PlanDeploy(const ProjectSnapshot& project, const std::string& destination,
                      const PlanOptions& options) {
  DeployPlan plan;
  plan.ProjectFolder = WithSeparator(project.WorkDir.empty() ? "." : project.WorkDir);
  plan.Destination = WithSeparator(destination);
  if (const auto why = WhyNotADestination(plan.ProjectFolder, plan.Destination)) {
    throw EditorError(*why);
  }

  // What stands on each side, by size; only files of equal size need hashing.
  std::uint64_t toHash = 0;
  for (const std::string& name : PlayerFileNames(project)) {
    PlayerFile file;
    file.Name = name;
    std::error_code error;
    const fs::path source = PathOf(plan.ProjectFolder + name);
    if (!fs::is_regular_file(source, error)) {
      plan.MissingInProject.push_back(name);
      continue;
    }
    file.Bytes = fs::file_size(source, error);
    const fs::path onCard = PathOf(plan.Destination + name);
    file.OnCard = fs::is_regular_file(fs::symlink_status(onCard, error));
    if (file.OnCard) file.CardBytes = fs::file_size(onCard, error);
    if (file.OnCard && file.CardBytes == file.Bytes) toHash += 2 * file.Bytes;
    plan.Files.push_back(file);
  }

  std::uint64_t hashed = 0;
  FileHashing how;
  how.Progress = [&](std::size_t bytes) {
    hashed += bytes;
    if (options.Progress) options.Progress(hashed, toHash);
  };
  for (PlayerFile& file : plan.Files) {
    if (options.Cancel && options.Cancel->load()) throw EditorError("Cancelled.");
    if (!(file.OnCard && file.CardBytes == file.Bytes)) {
      file.Digest = DigestOf(plan.ProjectFolder + file.Name, options.Cache, {});
      continue;
    }
    file.Digest = DigestOf(plan.ProjectFolder + file.Name, options.Cache, how);
    file.UpToDate = DigestOf(plan.Destination + file.Name, options.Cache, how) == file.Digest;
  }

  std::error_code error;
  for (const auto& entry : fs::directory_iterator(PathOf(plan.Destination), error)) {
    const std::string name = entry.path().filename().string();
    std::error_code typeError;
    if (!IsNumberedClipName(name) || !entry.is_regular_file(typeError) || entry.is_symlink()) {
      continue;
    }
    const bool played = std::any_of(plan.Files.begin(), plan.Files.end(),
                                    [&](const PlayerFile& f) { return f.Name == name; });
    if (!played) plan.Stale.push_back({name, entry.file_size(typeError)});
  }
  std::sort(plan.Stale.begin(), plan.Stale.end(),
            [](const StaleClip& a, const StaleClip& b) { return a.Name < b.Name; });

  plan.FreeBytes = options.FreeSpace ? options.FreeSpace(plan.Destination)
                                     : fs::space(PathOf(plan.Destination), error).available;
  plan.NeededBytes = NeededBytes(plan.Files);
  if (!plan.MissingInProject.empty()) {
    plan.Refusal = "The project folder lacks " + JoinedWithCommas(plan.MissingInProject) +
                   "; save the project (and import the " +
                   "missing clips) before copying it to the card.";
  } else if (plan.NeededBytes > plan.FreeBytes) {
    plan.Refusal = "The card has too little room: the copy needs " + SizeText(plan.NeededBytes) +
                   " but only " + SizeText(plan.FreeBytes) + " are free.";
  }
  return plan;
}

std::string CardStateText(CardState state) {
  switch (state) {
    case CardState::Same:
      return "same";
    case CardState::Differs:
      return "differs";
    case CardState::MissingOnCard:
      return "missing on card";
    case CardState::OnlyOnCard:
      break;
  }
  return "only on card";
}

std::vector<CardComparison> CompareWithCard(const DeployPlan& plan) {
  std::vector<CardComparison> comparison;
  for (const PlayerFile& file : plan.Files) {
    comparison.push_back({file.Name, file.UpToDate ? CardState::Same
                                     : file.OnCard ? CardState::Differs
                                                   : CardState::MissingOnCard});
  }
  for (const StaleClip& clip : plan.Stale) comparison.push_back({clip.Name, CardState::OnlyOnCard});
  return comparison;
}

bool CardHoldsProject(const DeployPlan& plan, const std::vector<CardComparison>& comparison) {
  return plan.MissingInProject.empty() &&
         std::all_of(comparison.begin(), comparison.end(),
                     [](const CardComparison& c) { return c.State == CardState::Same; });
}

std::string ComparisonSummary(const std::vector<CardComparison>& comparison) {
  int counts[4] = {};
  for (const auto& item : comparison) ++counts[static_cast<int>(item.State)];
  std::string summary = "Compare: " + std::to_string(counts[0]) + " same";
  if (counts[1] > 0)
    summary += ", " + std::to_string(counts[1]) + (counts[1] == 1 ? " differs" : " differ");
  if (counts[2] > 0) summary += ", " + std::to_string(counts[2]) + " missing on card";
  if (counts[3] > 0) summary += ", " + std::to_string(counts[3]) + " only on card";
  return summary;
}

}  // namespace pwx
