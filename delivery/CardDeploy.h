#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/FolderLock.h"
#include "common/Progress.h"
#include "delivery/CardPlan.h"

namespace pwx {

struct DeployOptions {
  // Delete the plan's stale clips, and the files that other systems left, once the copy is
  // verified.
  bool DeleteStale = false;
  // Learns the hashes of the files written, for the next plan.
  FileHashCache* Cache = nullptr;
  // Takes a project file's digest from the cache when its stamp is unchanged instead of
  // hashing it again as it is copied: a batch of cards hashes the template once. The copy is
  // still read back and compared with that digest.
  bool SourceDigestsFromCache = false;
  // The progress is the bytes done of the bytes planned: each file written ("Writing
  // 003.mp3"), then each read back ("Verifying 003.mp3"). The cancel is checked between
  // files, and leaves only whole files behind.
  WorkControl Work;
  // Called before each piece is written to the card, with the file's name, where the piece
  // goes and its size: it raises EditorError to fail the write as a device would.
  std::function<void(const std::string& name, std::uint64_t offset, std::size_t bytes)> BeforeWrite;
};

struct DeployFailure {
  std::string File;
  std::string Reason;
};

struct DeployResult {
  std::vector<std::string> Written;    // whole and in place on the card
  std::vector<std::string> Deleted;    // stale clips and other systems' files removed
  std::vector<std::string> Leftovers;  // temporaries of an interrupted copy removed
  std::vector<DeployFailure> Failures;
  // The SHA-256 of each player file on the card, as written and read back or as found up to
  // date (those written first); complete only when the copy succeeded.
  std::vector<std::pair<std::string, Sha256Digest>> Digests;
  bool Cancelled = false;
  int FilesOnCard = 0;  // the player's files the project has
  std::uint64_t BytesOnCard = 0;
  // Of the files up to date, those known so by their remembered digest and an unchanged
  // stamp, not read in this run.
  int FilesNotReadAgain = 0;

  // Nothing failed, nothing was cancelled, every file written read back as the project's and
  // every file found up to date is still as the plan found it.
  bool Succeeded() const { return Failures.empty() && !Cancelled; }
  // Whether, besides, every player file on the card was read in this run: written and read
  // back, or read in full by the plan.
  bool Verified() const { return Succeeded() && FilesNotReadAgain == 0; }
  // "Card verified: 23 files, 48.2 MB"; "Card up to date: ..." when some were not read
  // again; or what went wrong and what was written.
  std::string Summary() const;
};

// Copies what the plan says to the card: each file under a temporary name beside its place,
// pushed to the device and renamed, so no player file is ever left cut short and the old one
// stays until the new one is whole; clips first, the play list last. Then reads every file
// written back from the device and compares its SHA-256 with the project's. Stops at the
// first failure. Writes no other file onto the card; first removes the leftovers of an
// interrupted copy that the plan found. A project file whose remembered digest proves wrong
// is forgotten, so that the next plan reads it. Raises EditorError when the plan refuses the
// copy. The caller holds the card's FolderLock from the plan on.
DeployResult DeployToCard(const DeployPlan& plan, const DeployOptions& options = {});

// Copies a plan that was looked over while the card was not locked (in the window): takes
// the card's lock, plans again and copies only when the card and the project are as the
// plan showed them; else the result's failure says what changed. The lock is waited for as
// long as `lockWait`.
DeployResult DeployReviewedPlan(const ProjectSnapshot& project, const DeployPlan& reviewed,
                                const PlanOptions& planning, const DeployOptions& options,
                                std::chrono::milliseconds lockWait = kFolderLockWait);

}  // namespace pwx
