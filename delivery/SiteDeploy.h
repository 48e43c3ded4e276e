#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "delivery/CardDeploy.h"
#include "delivery/SiteCheck.h"

namespace pwx {

// The player of the site whose card this is, when it is not `player`'s: its rtu.cfg is the
// one that player's card gets and `player`'s gets another. Nothing for a blank card, a card
// of this player, or one the site does not know.
std::optional<std::size_t> CardOfOtherPlayer(const SiteSetup& setup, std::size_t player,
                                             const std::string& destination);

// Why this card is not to be written for `player`: it holds another player's files of the
// site (see CardOfOtherPlayer); nothing when it may be.
std::optional<std::string> WhyNotThisPlayersCard(const SiteSetup& setup, std::size_t player,
                                                 const std::string& destination);

// How a player's card is planned: with its rtu.cfg and vol.cfg from the site file in place of
// the template's. Raises EditorError when the player's settings give none.
PlanOptions SitePlanOptions(const SiteSetup& setup, std::size_t player);

struct SiteCardOptions {
  bool Force = false;        // writes a card recognised as another player's
  bool DeleteStale = false;  // as deploy's --delete-stale
  // Shared by the cards of a batch: the template's files are hashed once for all of them.
  FileHashCache* Cache = nullptr;
  WorkControl Work;
  std::chrono::milliseconds LockWait = kFolderLockWait;
};

// What came of one card of a site.
struct SiteCardResult {
  std::optional<DeployPlan> Plan;
  std::optional<DeployResult> Result;
  std::optional<std::string> Refusal;  // why nothing was written
  std::string Time;                    // when the card was done, ISO 8601 in UTC
  bool Verified() const { return Result && Result->Verified(); }
  bool Succeeded() const { return Result && Result->Succeeded(); }
};

// Copies the player's card as deploy does, from its template with the rtu.cfg and vol.cfg
// of the site file in place of the template's, and verifies it: holds the card's lock,
// refuses a card recognised as another player's (unless forced), a player whose settings
// give no rtu.cfg, a card of too little room. Never writes into the template.
SiteCardResult DeploySitePlayer(const SiteSetup& setup, std::size_t player,
                                const std::string& destination, const SiteCardOptions& options);

// The site log beside a site file: "site.csv" keeps it in "site.log.csv".
std::string SiteLogPath(const std::string& sitePath);

// One row of the site log: a card written for a player.
struct SiteLogEntry {
  std::string Player;
  std::string Bus;
  std::string DeviceId;
  std::string Card;  // where it was written
  std::string Time;
  bool Written = false;   // the copy succeeded
  bool Verified = false;  // every file read back as written, in that run
  std::string Result;     // the copy's summary or the refusal
  std::string Hashes;     // "name:sha256" of each file on the card, space separated
  bool operator==(const SiteLogEntry&) const = default;
};

SiteLogEntry SiteLogEntryOf(const SiteSetup& setup, std::size_t player,
                            const std::string& destination, const SiteCardResult& result);

// Appends a row to the site log (made with its header when missing), safely replaced.
// Raises EditorError when it cannot be written.
void AppendSiteLog(const std::string& logPath, const SiteLogEntry& entry);

// The rows of a site log, oldest first; none when it is missing. Raises SiteFileError for a
// log that is no site log.
std::vector<SiteLogEntry> ReadSiteLog(const std::string& logPath);

}  // namespace pwx
