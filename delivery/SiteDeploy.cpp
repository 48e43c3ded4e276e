#include "delivery/SiteDeploy.h"

#include "common/CsvTable.h"
#include "common/EditorError.h"
#include "common/FileReading.h"
#include "common/FileReplacement.h"
#include "common/FileSystem.h"
#include "common/FolderLock.h"
#include "common/UtcTime.h"
#include "devicefiles/RtuVolumeFiles.h"

namespace pwx {

namespace {

const std::vector<std::string> kLogColumns = {"player",  "bus",      "device_id", "card",  "time",
                                              "written", "verified", "result",    "hashes"};

}  // namespace

std::optional<std::size_t> CardOfOtherPlayer(const SiteSetup& setup, std::size_t player,
                                             const std::string& destination) {
  FileRead onCard = ReadFile(WithSeparator(destination) + kRtuFileName, 4096);
  if (!onCard.Ok()) return std::nullopt;
  const auto rtuOf = [&](std::size_t index) -> std::optional<std::string> {
    try {
      return CardFilesFor(setup.Players[index]).Rtu;
    } catch (const EditorError&) {
      return std::nullopt;
    }
  };
  if (rtuOf(player) == onCard.Bytes) return std::nullopt;
  for (std::size_t other = 0; other < setup.Players.size(); ++other) {
    if (other != player && rtuOf(other) == onCard.Bytes) return other;
  }
  return std::nullopt;
}

std::optional<std::string> WhyNotThisPlayersCard(const SiteSetup& setup, std::size_t player,
                                                 const std::string& destination) {
  const auto other = CardOfOtherPlayer(setup, player, destination);
  if (!other) return std::nullopt;
  return "This card holds the files of player " + SitePlayerText(setup.Site.Players[*other]) +
         "; insert the card for " + SitePlayerText(setup.Site.Players[player]) +
         ", or give --force to write over it.";
}

PlanOptions SitePlanOptions(const SiteSetup& setup, std::size_t player) {
  const PlayerCardFiles files = CardFilesFor(setup.Players.at(player));
  PlanOptions planning;
  planning.Generated = {{kRtuFileName, files.Rtu}, {kVolumeFileName, files.Volume}};
  return planning;
}

SiteCardResult DeploySitePlayer(const SiteSetup& setup, std::size_t player,
                                const std::string& destination, const SiteCardOptions& options) {
  SiteCardResult done;
  const SiteTemplate& made =
      setup.Templates.at(static_cast<std::size_t>(setup.TemplateOfPlayer.at(player)));
  try {
    if (!made.Project) throw EditorError("its template cannot be read: " + made.Failure);
    PlanOptions planning = SitePlanOptions(setup, player);
    planning.Cache = options.Cache;
    planning.Work = options.Work;
    if (const auto why = WhyNotADestination(made.Folder, destination)) throw EditorError(*why);
    const FolderLock lock(destination, options.LockWait);
    if (const auto why = WhyNotThisPlayersCard(setup, player, destination); why && !options.Force) {
      throw EditorError(*why);
    }
    done.Plan = PlanDeploy(*made.Project, destination, planning);
    if (done.Plan->Refusal) throw EditorError(*done.Plan->Refusal);
    DeployOptions copying;
    copying.Cache = options.Cache;
    copying.DeleteStale = options.DeleteStale;
    copying.Work = options.Work;
    copying.SourceDigestsFromCache = options.Cache != nullptr;
    done.Result = DeployToCard(*done.Plan, copying);
  } catch (const EditorError& error) {
    done.Refusal = error.what();
  }
  done.Time = UtcTimeNow();
  return done;
}

std::string SiteLogPath(const std::string& sitePath) {
  const std::size_t slash = sitePath.find_last_of("/\\");
  const std::size_t dot = sitePath.rfind('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? sitePath.substr(0, dot) : sitePath) + ".log.csv";
}

SiteLogEntry SiteLogEntryOf(const SiteSetup& setup, std::size_t player,
                            const std::string& destination, const SiteCardResult& result) {
  const SitePlayer& who = setup.Site.Players.at(player);
  SiteLogEntry entry{who.Name,           who.Bus,           who.DeviceId, destination, result.Time,
                     result.Succeeded(), result.Verified(), "",           ""};
  entry.Result = result.Refusal ? *result.Refusal : result.Result->Summary();
  if (result.Succeeded()) {
    for (const auto& [name, digest] : result.Result->Digests) {
      entry.Hashes += (entry.Hashes.empty() ? "" : " ") + name + ":" + HexText(digest);
    }
  }
  return entry;
}

void AppendSiteLog(const std::string& logPath, const SiteLogEntry& entry) {
  FileRead old = ReadFile(logPath, 64 * 1024 * 1024);
  std::string text = old.Ok() && !old.Bytes.empty() ? old.Bytes : CsvLine(kLogColumns);
  if (text.back() != '\n') text += "\r\n";
  text += CsvLine({entry.Player, entry.Bus, entry.DeviceId, entry.Card, entry.Time,
                   entry.Written ? "yes" : "no", entry.Verified ? "yes" : "no", entry.Result,
                   entry.Hashes});
  ReplaceFile(logPath, text);
}

std::vector<SiteLogEntry> ReadSiteLog(const std::string& logPath) {
  FileRead read = ReadFile(logPath, 64 * 1024 * 1024);
  if (!read.Ok()) return {};
  std::vector<CsvRecord> records;
  try {
    records = ParseCsv(read.Bytes, ',');
  } catch (const CsvError& error) {
    throw SiteFileError(logPath + ": " + error.what());
  }
  if (records.empty() || records.front().Fields != kLogColumns) {
    throw SiteFileError(logPath + " is no site log: its header is not " + CsvLine(kLogColumns));
  }
  std::vector<SiteLogEntry> entries;
  for (std::size_t r = 1; r < records.size(); ++r) {
    std::vector<std::string> f = records[r].Fields;
    f.resize(kLogColumns.size());
    entries.push_back({f[0], f[1], f[2], f[3], f[4], f[5] == "yes", f[6] == "yes", f[7], f[8]});
  }
  return entries;
}

}  // namespace pwx
