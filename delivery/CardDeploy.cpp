#include "delivery/CardDeploy.h"

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

  void Count(std::size_t bytes, const std::string& name) {
    done += bytes;
    if (options.Progress) options.Progress(done, total, name);
  }

  // Copies one file whole or not at all; raises EditorError naming why.
  void Copy(const PlayerFile& file) {
    const std::string source = plan.ProjectFolder + file.Name;
    const std::string target = plan.Destination + file.Name;
    InputFile input(source);
    FileReplacement output(target);
    Sha256 hash;
    std::vector<char> buffer(kCopyChunkBytes);
    std::uint64_t offset = 0;
    while (const std::size_t got = input.Read(buffer.data(), buffer.size())) {
      const std::string_view piece(buffer.data(), got);
      hash.Update(piece);
      if (options.BeforeWrite) options.BeforeWrite(file.Name, offset, got);
      output.Write(piece);
      offset += got;
      Count(got, file.Name);
    }
    if (hash.Finish() != file.Digest) {
      throw EditorError(file.Name +
                        " changed in the project folder while it was copied; copy "
                        "the project again.");
    }
    output.Commit();
    // The copy keeps the project file's time, as a copy by hand that keeps times would.
    std::error_code ignored;
    fs::last_write_time(PathOf(target), fs::last_write_time(PathOf(source), ignored), ignored);
  }

  // Reads a written file back from the device; raises EditorError when it differs.
  void Verify(const PlayerFile& file) {
    const std::string target = plan.Destination + file.Name;
    InputFile written(target);
    FileHashing how;
    how.FromDevice = true;
    how.Progress = [&](std::size_t bytes) { Count(bytes, file.Name); };
    const Sha256Digest digest = HashOpenFile(written, how);
    if (digest != file.Digest) {
      throw EditorError(file.Name +
                        " reads back differently from the project's file: the card "
                        "may be failing.");
    }
    if (options.Cache) options.Cache->Remember(target, written.Stamp(), digest, NowNs());
  }
};

}  // namespace

std::string DeployResult::Summary() const {
  std::string written = std::to_string(Written.size()) + (Written.size() == 1 ? " file" : " files");
  if (!Failures.empty()) {
    return "Copy failed at " + Failures.front().File + ": " + Failures.front().Reason + " (" +
           written + " written whole)";
  }
  if (Cancelled) return "Copy cancelled: " + written + " written whole";
  return "Card verified: " + std::to_string(FilesOnCard) + " files, " + SizeText(BytesOnCard);
}

DeployResult DeployToCard(const DeployPlan& plan, const DeployOptions& options) {
  if (plan.Refusal) throw EditorError(*plan.Refusal);
  DeployResult result;
  result.FilesOnCard = static_cast<int>(plan.Files.size());
  result.BytesOnCard = plan.BytesOfProject();
  Copier copier{plan, options, 0, 2 * plan.BytesToWrite()};

  std::vector<const PlayerFile*> written;
  for (const PlayerFile& file : plan.Files) {
    if (file.UpToDate) continue;
    if (options.Cancel && options.Cancel->load()) {
      result.Cancelled = true;
      break;
    }
    try {
      copier.Copy(file);
    } catch (const EditorError& error) {
      result.Failures.push_back({file.Name, error.what()});
      break;
    }
    result.Written.push_back(file.Name);
    written.push_back(&file);
  }
  for (const PlayerFile* file : written) {
    try {
      copier.Verify(*file);
    } catch (const EditorError& error) {
      result.Failures.push_back({file->Name, error.what()});
    }
  }
  if (options.DeleteStale && result.Verified()) {
    for (const StaleClip& clip : plan.Stale) {
      std::error_code error;
      if (fs::remove(PathOf(plan.Destination + clip.Name), error)) {
        result.Deleted.push_back(clip.Name);
      } else if (error) {
        result.Failures.push_back({clip.Name, "cannot be deleted: " + error.message()});
      }
    }
  }
  return result;
}

}  // namespace pwx
