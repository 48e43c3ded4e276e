#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/FileHashCache.h"
#include "common/Progress.h"
#include "delivery/CardFolder.h"
#include "project/ProjectSnapshot.h"

namespace pwx {

// One of the player's files: its name in the project folder and on the card.
struct PlayerFile {
  std::string Name;
  std::uint64_t Bytes = 0;  // in the project
  Sha256Digest Digest{};    // of the project's file, when known (`DigestKnown`)
  // Whether the plan hashed the project's file: it does so only where a file of the same
  // size stands on the card, to compare; a file to write anyway is hashed as it is copied.
  bool DigestKnown = false;
  bool OnCard = false;          // a regular file of that name stands on the card
  std::string CardName;         // its name there, which on a FAT card may differ in case
  std::uint64_t CardBytes = 0;  // its size there
  FileStamp CardStamp;          // its stamp when the plan looked at it
  bool UpToDate = false;        // same size and same SHA-256 on the card: nothing to write
  // Whether the plan read the card's file in full (else its digest was remembered from an
  // earlier run, and the file known unchanged by its stamp).
  bool CardRead = false;
  // The bytes written for this card instead of the project's file (a site's player gets its
  // own rtu.cfg and vol.cfg), or nothing for the project's file.
  std::optional<std::string> Generated;
};

// An entry on the card beside the player's files.
struct CardEntry {
  std::string Name;
  std::uint64_t Bytes = 0;
  bool Folder = false;
};

// A NNN.mp3 on the card whose clip the project does not use.
using StaleClip = CardEntry;

// What copying a project to a card involves, worked out before anything is written.
struct DeployPlan {
  std::string ProjectFolder;      // ending with a separator
  std::string Destination;        // ending with a separator
  std::vector<PlayerFile> Files;  // in the order they are written: clips, then the settings
  std::vector<StaleClip> Stale;
  // What other systems leave on a card ("._001.mp3", ".Trashes", "System Volume
  // Information"): its files are deleted when asked, its folders never.
  std::vector<CardEntry> Clutter;
  std::vector<CardEntry> Others;     // every other file and folder: kept
  std::vector<CardEntry> Leftovers;  // temporaries of an interrupted copy: removed by the copy
  std::vector<std::string> MissingInProject;  // player files the project folder lacks
  CardFolderFacts Card;                       // the destination's file system
  std::uint64_t FreeBytes = 0;                // on the destination, and of the leftovers
  std::uint64_t NeededBytes = 0;              // at the fullest moment, in whole units
  int EntriesInUse = 0;                       // of a fixed root folder
  int EntriesNeeded = 0;                      // more at the fullest moment of the copy
  // Why the copy cannot go ahead (no room, files missing), or nothing.
  std::optional<std::string> Refusal;
  // What the user should know before copying: a card the player may not read.
  std::optional<std::string> Warning;

  int FilesToWrite() const;
  std::uint64_t BytesToWrite() const;
  int FilesUpToDate() const;
  std::uint64_t BytesOfProject() const;  // every player file
  // The clutter that deleting removes: the files that other systems leave.
  std::vector<CardEntry> ClutterFiles() const;
};

struct PlanOptions {
  // Hashes remembered from earlier runs; none reads every file.
  FileHashCache* Cache = nullptr;
  // The progress is the step "Comparing the project with the card", the bytes hashed so far
  // of the bytes to hash; a cancel stops the plan ("Cancelled." is raised).
  WorkControl Work;
  // The free bytes of a folder's file system; the system's own answer when not set.
  std::function<std::uint64_t(const std::string& folder)> FreeSpace;
  // What the destination's file system is (given its listing); looked at when not set.
  std::function<CardFolderFacts(const std::string& folder, const std::vector<std::string>& names)>
      Examine;
  // Files the card gets from these bytes instead of from the project folder, by name.
  std::map<std::string, std::string> Generated;
};

// The player's files of a project: the clips of the occupied entries ("001.mp3" ...), then
// Err1.mp3, m3fn.txt, vol.cfg, rtu.cfg and plist.cfg, the play list last, so that a card
// cut off in the middle holds no play list naming clips it lacks.
std::vector<std::string> PlayerFileNames(const ProjectSnapshot& project);

// Why `destination` cannot receive the project in `projectFolder`, or nothing: it must be a
// folder, and neither the project folder itself nor inside it, whatever path leads there
// (a link, a bind mount). A project folder inside the destination is fine: the copy writes
// and deletes only files directly in the destination, never a folder.
std::optional<std::string> WhyNotADestination(const std::string& projectFolder,
                                              const std::string& destination);

// Plans copying the project's player files to `destination`: which are up to date there
// (same size and SHA-256), which to write, the stale clips and whatever else is on the card,
// and whether the copy fits, counted in the card's allocation units and directory entries.
// Names compare as the card's file system compares them. Reads, writes nothing. Raises
// EditorError for a destination that cannot be used.
DeployPlan PlanDeploy(const ProjectSnapshot& project, const std::string& destination,
                      const PlanOptions& options = {});

// What differs between a plan looked over and one made just now for the same card, in what
// the copy would do: a file to write or up to date, the stale clips and clutter it deletes
// (when `deleting`), a refusal; or nothing when the copy would do the same.
std::optional<std::string> HowTheCardChanged(const DeployPlan& reviewed, const DeployPlan& now,
                                             bool deleting);

// How a player file on the card compares with the project's.
enum class CardState { Same, Differs, MissingOnCard, OnlyOnCard };

// "same", "differs", "missing on card", "only on card".
std::string CardStateText(CardState state);

struct CardComparison {
  std::string Name;
  CardState State = CardState::Same;
};

// Every player file of the plan and every stale clip, as the plan found them. A comparison
// that proves the card comes from a plan made without a cache, which reads every byte.
std::vector<CardComparison> CompareWithCard(const DeployPlan& plan);

// Whether the card holds the project: every player file the same, none missing in the project.
bool CardHoldsProject(const DeployPlan& plan, const std::vector<CardComparison>& comparison);

// "Compare: 20 same, 2 differ, 1 missing on card, 1 only on card".
std::string ComparisonSummary(const std::vector<CardComparison>& comparison);

}  // namespace pwx
