#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "delivery/CardPlan.h"

namespace pwx {

struct DeployOptions {
  bool DeleteStale = false;  // delete the plan's stale clips once the copy is verified
  // Learns the hashes of the files written, for the next plan.
  FileHashCache* Cache = nullptr;
  // Bytes done of the bytes planned (each file written, then read back) and the file at hand.
  std::function<void(std::uint64_t done, std::uint64_t total, const std::string& file)> Progress;
  // Checked between files: a cancel leaves only whole files behind.
  const std::atomic<bool>* Cancel = nullptr;
  // Called before each piece is written to the card, with the file's name, where the piece
  // goes and its size: it raises EditorError to fail the write as a device would.
  std::function<void(const std::string& name, std::uint64_t offset, std::size_t bytes)> BeforeWrite;
};

struct DeployFailure {
  std::string File;
  std::string Reason;
};

struct DeployResult {
  std::vector<std::string> Written;  // whole and in place on the card
  std::vector<std::string> Deleted;  // stale clips removed
  std::vector<DeployFailure> Failures;
  bool Cancelled = false;
  int FilesOnCard = 0;  // the player's files the project has
  std::uint64_t BytesOnCard = 0;

  // Nothing failed, nothing was cancelled, and every file written read back as the project's.
  bool Verified() const { return Failures.empty() && !Cancelled; }
  // "Card verified: 23 files, 48.2 MB", or what went wrong and what was written.
  std::string Summary() const;
};

// Copies what the plan says to the card: each file under a temporary name beside its place,
// pushed to the device and renamed, so no player file is ever left cut short and the old one
// stays until the new one is whole; clips first, the play list last. Then reads every file
// written back from the device and compares its SHA-256 with the project's. Stops at the
// first failure. Writes no other file onto the card. Raises EditorError when the plan
// refuses the copy.
DeployResult DeployToCard(const DeployPlan& plan, const DeployOptions& options = {});

}  // namespace pwx
