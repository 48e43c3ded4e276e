#include "delivery/CardDeploy.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "common/EditorError.h"
#include "common/FileReading.h"
#include "common/FileReplacement.h"
#include "common/FileSystem.h"
#include "common/MessageText.h"

namespace pwx {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kCopyChunkBytes = 1024 * 1024;

struct Copier {
  const DeployPlan& plan;
  const DeployOptions& options;
  std::uint64_t done = 0;
  std::uint64_t total = 0;

  void Count(std::uint64_t bytes, const char* step, const std::string& name) {
    done += bytes;
    options.Work.Report(done, total, step + name);
  }

  // Copies one file whole or not at all and gives the digest of what it wrote; raises
  // EditorError naming why.
  Sha256Digest Copy(const PlayerFile& file) {
    if (file.Generated) return Write(file);
    const std::string source = plan.ProjectFolder + file.Name;
    const std::string target = plan.Destination + file.Name;
    const std::int64_t now = NowNs();
    InputFile input(source);
    FileReplacement output(target);
    const std::optional<Sha256Digest> known =
        options.SourceDigestsFromCache && options.Cache ? options.Cache->Find(source, input.Stamp())
                                                        : std::nullopt;
    Sha256 hash;
    std::vector<char> buffer(kCopyChunkBytes);
    std::uint64_t offset = 0;
    while (const std::size_t got = input.Read(buffer.data(), buffer.size())) {
      const std::string_view piece(buffer.data(), got);
      if (!known) hash.Update(piece);
      if (options.BeforeWrite) options.BeforeWrite(file.Name, offset, got);
      output.Write(piece);
      output.StartWriteback();
      offset += got;
      Count(got, "Writing ", file.Name);
    }
    const Sha256Digest digest = known ? *known : hash.Finish();
    // What was read is the project's file only if nothing changed it meanwhile, and if it
    // is what the plan compared with the card.
    const bool unchanged = InputFile(source).Stamp() == input.Stamp();
    if (!unchanged || (file.DigestKnown && digest != file.Digest)) {
      // The plan's digest may have been remembered wrongly: the next plan reads the file.
      if (options.Cache) options.Cache->Forget(source);
      throw EditorError(file.Name +
                        " changed in the project folder while it was copied; copy "
                        "the project again.");
    }
    if (options.Cache) options.Cache->Remember(source, input.Stamp(), digest, now);
    output.Commit();
    // The copy keeps the project file's time, as a copy by hand that keeps times would.
    std::error_code ignored;
    fs::last_write_time(PathOf(target), fs::last_write_time(PathOf(source), ignored), ignored);
    return digest;
  }

  // Writes a file made for this card from its bytes, whole or not at all.
  Sha256Digest Write(const PlayerFile& file) {
    FileReplacement output(plan.Destination + file.Name);
    if (options.BeforeWrite) options.BeforeWrite(file.Name, 0, file.Generated->size());
    output.Write(*file.Generated);
    output.Commit();
    Count(file.Generated->size(), "Writing ", file.Name);
    return file.Digest;
  }

  // Reads a written file back from the device; raises EditorError when it differs from what
  // was written.
  void Verify(const PlayerFile& file, const Sha256Digest& wrote) {
    const std::string target = plan.Destination + file.Name;
    const std::int64_t now = NowNs();
    InputFile written(target);
    FileHashing how;
    how.FromDevice = true;
    std::uint64_t read = 0;
    how.Work.Progress = [&](const ProgressStep& step) {
      Count(step.Done - read, "Verifying ", file.Name);
      read = step.Done;
    };
    const Sha256Digest digest = HashOpenFile(written, how);
    if (digest != wrote) {
      throw EditorError(file.Name +
                        " reads back differently from the project's file: the card "
                        "may be failing.");
    }
    if (options.Cache) options.Cache->Remember(target, written.Stamp(), digest, now);
  }

  // Raises EditorError when a file the plan found up to date is no longer as it was.
  void Recheck(const PlayerFile& file) const {
    InputFile onCard(plan.Destination + file.CardName);
    if (!(onCard.Stamp() == file.CardStamp)) {
      throw EditorError(file.Name + " changed on the card during the copy; copy again.");
    }
  }
};

void RemoveLeftovers(const DeployPlan& plan, DeployResult& result) {
  if (plan.Leftovers.empty()) return;
  result.Leftovers = RemoveLeftoverTemporaries(plan.Destination);
  for (const CardEntry& leftover : plan.Leftovers) {
    if (std::find(result.Leftovers.begin(), result.Leftovers.end(), leftover.Name) ==
            result.Leftovers.end() &&
        PathExists(plan.Destination + leftover.Name)) {
      result.Failures.push_back({leftover.Name, "left by an interrupted copy, cannot be removed"});
    }
  }
}

void DeleteFromCard(const DeployPlan& plan, DeployResult& result) {
  std::vector<CardEntry> doomed = plan.Stale;
  for (const CardEntry& clutter : plan.ClutterFiles()) doomed.push_back(clutter);
  for (const CardEntry& entry : doomed) {
    const fs::path path = PathOf(plan.Destination + entry.Name);
    std::error_code error;
    // A file only: what took its place since the plan (a folder, a link) stays.
    if (!fs::is_regular_file(fs::symlink_status(path, error))) continue;
    if (fs::remove(path, error)) {
      result.Deleted.push_back(entry.Name);
    } else if (error) {
      result.Failures.push_back({entry.Name, "cannot be deleted: " + error.message()});
    }
  }
}

}  // namespace

std::string DeployResult::Summary() const {
  std::string written = std::to_string(Written.size()) + (Written.size() == 1 ? " file" : " files");
  if (!Failures.empty()) {
    const DeployFailure& first = Failures.front();
    return (first.File.empty() ? "Copy failed: " : "Copy failed at " + first.File + ": ") +
           first.Reason + " (" + written + " written whole)";
  }
  if (Cancelled) return "Copy cancelled: " + written + " written whole";
  const std::string files = std::to_string(FilesOnCard) + " files, " + SizeText(BytesOnCard);
  if (FilesNotReadAgain == 0) return "Card verified: " + files;
  return "Card up to date: " + files + " (" + std::to_string(FilesNotReadAgain) +
         " unchanged since they were last read in full, not read again)";
}

DeployResult DeployToCard(const DeployPlan& plan, const DeployOptions& options) {
  if (plan.Refusal) throw EditorError(*plan.Refusal);
  DeployResult result;
  result.FilesOnCard = static_cast<int>(plan.Files.size());
  result.BytesOnCard = plan.BytesOfProject();
  Copier copier{plan, options, 0, 2 * plan.BytesToWrite()};
  RemoveLeftovers(plan, result);
  if (!result.Failures.empty()) return result;

  std::vector<std::pair<const PlayerFile*, Sha256Digest>> written;
  for (const PlayerFile& file : plan.Files) {
    if (file.UpToDate) continue;
    if (options.Work.Cancelled()) {
      result.Cancelled = true;
      break;
    }
    try {
      written.emplace_back(&file, copier.Copy(file));
    } catch (const EditorError& error) {
      result.Failures.push_back({file.Name, error.what()});
      break;
    }
    result.Written.push_back(file.Name);
  }
  for (const auto& [file, digest] : written) {
    try {
      copier.Verify(*file, digest);
      result.Digests.emplace_back(file->Name, digest);
    } catch (const EditorError& error) {
      result.Failures.push_back({file->Name, error.what()});
    }
  }
  if (!result.Succeeded()) return result;
  for (const PlayerFile& file : plan.Files) {
    if (!file.UpToDate) continue;
    try {
      copier.Recheck(file);
    } catch (const EditorError& error) {
      result.Failures.push_back({file.Name, error.what()});
    }
    if (!file.CardRead) ++result.FilesNotReadAgain;
    result.Digests.emplace_back(file.Name, file.Digest);
  }
  if (options.DeleteStale && result.Succeeded()) DeleteFromCard(plan, result);
  return result;
}

DeployResult DeployReviewedPlan(const ProjectSnapshot& project, const DeployPlan& reviewed,
                                const PlanOptions& planning, const DeployOptions& options,
                                std::chrono::milliseconds lockWait) {
  DeployResult refused;
  refused.FilesOnCard = static_cast<int>(reviewed.Files.size());
  try {
    const FolderLock lock(reviewed.Destination, lockWait);
    const DeployPlan now = PlanDeploy(project, reviewed.Destination, planning);
    if (const auto change = HowTheCardChanged(reviewed, now, options.DeleteStale)) {
      refused.Failures.push_back({"", "the card changed after the plan was made (" + *change +
                                          "); copy again to see the new plan."});
      return refused;
    }
    return DeployToCard(now, options);
  } catch (const EditorError& error) {
    if (options.Work.Cancelled()) {
      refused.Cancelled = true;  // while planning again: nothing was written
    } else {
      refused.Failures.push_back({"", error.what()});
    }
    return refused;
  }
}

}  // namespace pwx
