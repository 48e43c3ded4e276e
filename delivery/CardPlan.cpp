#include "delivery/CardPlan.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "audio/ClipFiles.h"
#include "common/EditorError.h"
#include "common/FileIdentity.h"
#include "common/FileReading.h"
#include "common/FileReplacement.h"
#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "delivery/CardRoom.h"
#include "devicefiles/ErrorClip.h"
#include "devicefiles/NameMapFile.h"
#include "devicefiles/PlayListFile.h"
#include "devicefiles/RtuVolumeFiles.h"

namespace pwx {

namespace fs = std::filesystem;

namespace {

// An entry of the card's folder, as listed: links are not followed.
struct Listed {
  std::string Name;
  bool Regular = false;  // a regular file, not a link
  bool Folder = false;
  std::uint64_t Bytes = 0;
};

std::vector<Listed> ListFolder(const std::string& folder) {
  std::vector<Listed> listed;
  std::error_code error;
  for (fs::directory_iterator it(PathOf(folder), error), end; !error && it != end;
       it.increment(error)) {
    Listed entry;
    entry.Name = it->path().filename().string();
    std::error_code typeError;
    const fs::file_status status = it->symlink_status(typeError);
    entry.Regular = fs::is_regular_file(status);
    entry.Folder = fs::is_directory(status);
    if (entry.Regular) entry.Bytes = it->file_size(typeError);
    listed.push_back(std::move(entry));
  }
  if (error) {
    throw EditorError("The destination " + QuotePath(folder) +
                      " cannot be read: " + error.message());
  }
  return listed;
}

constexpr const char* kComparingStep = "Comparing the project with the card";

// Hashes the files a plan compares, counting the bytes hashed of all it has to hash.
struct Hasher {
  const PlanOptions& options;
  std::uint64_t total = 0;
  std::uint64_t done = 0;

  FileHashCache::Hashed DigestOf(const std::string& path) {
    const std::uint64_t before = done;
    FileHashing how;
    how.Work.Cancel = options.Work.Cancel;
    how.Work.Progress = [&](const ProgressStep& step) {
      done = before + step.Done;
      options.Work.Report(done, total, kComparingStep);
    };
    if (options.Cache) return options.Cache->Hash(path, how);
    InputFile file(path);
    return {HashOpenFile(file, how), false, file.Stamp()};
  }
};

void SortByName(std::vector<CardEntry>& entries) {
  std::sort(entries.begin(), entries.end(),
            [](const CardEntry& a, const CardEntry& b) { return a.Name < b.Name; });
}

// Sorts what the card holds beside the player's files into the plan's lists.
void SortTheRest(DeployPlan& plan, const std::vector<Listed>& listed,
                 const std::vector<bool>& claimed, const std::set<int>& played) {
  const bool ignoresCase = plan.Card.IgnoresCase;
  for (std::size_t i = 0; i < listed.size(); ++i) {
    if (claimed[i]) continue;
    const Listed& entry = listed[i];
    const CardEntry item{entry.Name, entry.Bytes, entry.Folder};
    const auto clip = NumberedClipOf(entry.Name);
    if (entry.Regular && IsReplacementTemporaryName(entry.Name)) {
      plan.Leftovers.push_back(item);
    } else if (entry.Regular && clip && !played.count(*clip)) {
      plan.Stale.push_back(item);
    } else if (IsLeftByOtherSystems(entry.Name, ignoresCase)) {
      plan.Clutter.push_back(item);
    } else {
      plan.Others.push_back(item);
    }
  }
  for (auto* list : {&plan.Stale, &plan.Clutter, &plan.Others, &plan.Leftovers}) SortByName(*list);
}

// Whether the copy fits: in whole units, and in the entries of a fixed root folder.
void CountRoom(DeployPlan& plan, const std::vector<Listed>& listed) {
  std::vector<RoomItem> written;
  for (const PlayerFile& file : plan.Files) {
    if (file.UpToDate) continue;
    written.push_back({file.Name, file.Bytes,
                       file.OnCard ? std::optional<std::uint64_t>(file.CardBytes) : std::nullopt});
  }
  const RoomNeeded needed = RoomForCopy(written, plan.Card);
  plan.NeededBytes = needed.Bytes;
  // The leftovers are removed before anything is written.
  plan.FreeBytes = plan.Card.FreeBytes;
  for (const CardEntry& leftover : plan.Leftovers) {
    plan.FreeBytes += AllocatedBytes(leftover.Bytes, plan.Card.UnitBytes);
  }
  if (!plan.Card.FixedEntries) return;
  plan.EntriesInUse = 1;  // the volume's label
  for (const Listed& entry : listed) {
    if (!(entry.Regular && IsReplacementTemporaryName(entry.Name))) {
      plan.EntriesInUse += DirectoryEntriesFor(entry.Name, plan.Card.Format);
    }
  }
  plan.EntriesNeeded = needed.Entries;
}

std::optional<std::string> RefusalOf(const DeployPlan& plan,
                                     const std::vector<std::string>& blocked) {
  if (!plan.MissingInProject.empty()) {
    return "The project folder lacks " + JoinedWithCommas(plan.MissingInProject) +
           "; save the project (and import the missing clips) before copying it to the card.";
  }
  if (!blocked.empty()) {
    return "On the card, " + JoinedWithCommas(blocked) +
           " stands where a player's file goes and is no file: move it away first.";
  }
  if (plan.NeededBytes > plan.FreeBytes) {
    return "The card has too little room: the copy needs " + SizeText(plan.NeededBytes) +
           " but only " + SizeText(plan.FreeBytes) + " are free.";
  }
  if (plan.Card.FixedEntries && plan.EntriesInUse + plan.EntriesNeeded > *plan.Card.FixedEntries) {
    return "The card's root folder holds " + std::to_string(*plan.Card.FixedEntries) +
           " entries at most (" + FileSystemText(plan.Card) +
           "): " + std::to_string(plan.EntriesInUse) + " are taken and the copy needs " +
           std::to_string(plan.EntriesNeeded) + " more. Delete files from the card first.";
  }
  return std::nullopt;
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

std::vector<CardEntry> DeployPlan::ClutterFiles() const {
  std::vector<CardEntry> files;
  for (const CardEntry& entry : Clutter) {
    if (!entry.Folder) files.push_back(entry);
  }
  return files;
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
  if (!IsSameOrInside(destination, projectFolder)) return std::nullopt;
  return IdentityOf(destination) == IdentityOf(projectFolder)
             ? "The destination is the project folder itself; choose the card."
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
  const std::vector<Listed> listed = ListFolder(plan.Destination);
  std::vector<std::string> names;
  for (const Listed& entry : listed) names.push_back(entry.Name);
  plan.Card = options.Examine ? options.Examine(plan.Destination, names)
                              : ExamineCardFolder(plan.Destination, names);
  if (options.FreeSpace) plan.Card.FreeBytes = options.FreeSpace(plan.Destination);

  // Each player file and the entry of the card that is the same name there; only files of
  // equal size need hashing.
  std::vector<bool> claimed(listed.size(), false);
  std::vector<std::string> blocked;
  std::set<int> played;
  std::uint64_t toHash = 0;
  for (const std::string& name : PlayerFileNames(project)) {
    if (const auto clip = NumberedClipOf(name)) played.insert(*clip);
    PlayerFile file;
    file.Name = name;
    file.CardName = name;
    for (std::size_t i = 0; i < listed.size(); ++i) {
      if (claimed[i] || !SameCardName(listed[i].Name, name, plan.Card.IgnoresCase)) continue;
      claimed[i] = true;
      file.CardName = listed[i].Name;
      file.OnCard = listed[i].Regular;
      file.CardBytes = listed[i].Bytes;
      if (listed[i].Folder) blocked.push_back(QuotePath(listed[i].Name));
      break;
    }
    if (const auto generated = options.Generated.find(name); generated != options.Generated.end()) {
      file.Digest = Sha256Of(generated->second);
      file.DigestKnown = true;
      file.Bytes = generated->second.size();
      file.Generated = generated->second;
      if (file.OnCard && file.CardBytes == file.Bytes) toHash += file.Bytes;
      plan.Files.push_back(file);
      continue;
    }
    std::error_code error;
    const fs::path source = PathOf(plan.ProjectFolder + name);
    if (!fs::is_regular_file(source, error)) {
      plan.MissingInProject.push_back(name);
      continue;
    }
    file.Bytes = fs::file_size(source, error);
    if (file.OnCard && file.CardBytes == file.Bytes) toHash += 2 * file.Bytes;
    plan.Files.push_back(file);
  }
  SortTheRest(plan, listed, claimed, played);

  Hasher hasher{options, toHash};
  for (PlayerFile& file : plan.Files) {
    if (options.Work.Cancelled()) throw EditorError("Cancelled.");
    const bool sameSize = file.OnCard && file.CardBytes == file.Bytes;
    if (!sameSize) continue;
    if (!file.Generated) {
      file.Digest = hasher.DigestOf(plan.ProjectFolder + file.Name).Digest;
      file.DigestKnown = true;
    }
    const auto onCard = hasher.DigestOf(plan.Destination + file.CardName);
    file.UpToDate = onCard.Digest == file.Digest;
    file.CardRead = !onCard.Remembered;
    file.CardStamp = onCard.Stamp;
  }

  CountRoom(plan, listed);
  plan.Refusal = RefusalOf(plan, blocked);
  if (plan.Card.Format != CardFormat::Fat) {
    plan.Warning = "The card is formatted " + FileSystemText(plan.Card) +
                   ": the player reads FAT cards (FAT16 or FAT32) and may not read this one.";
  }
  return plan;
}

}  // namespace pwx
