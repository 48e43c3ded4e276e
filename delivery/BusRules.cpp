#include "delivery/BusRules.h"

#include <algorithm>
#include <map>

#include "common/MessageText.h"

namespace pwx {

namespace {

std::string Named(const SitePlayer& player) {
  return "'" + player.Name + "' (line " + std::to_string(player.Line) + ")";
}

std::string NamedList(const std::vector<const PlayerSetup*>& players) {
  std::vector<std::string> names;
  for (const PlayerSetup* setup : players) names.push_back(Named(*setup->Player));
  return JoinedWithCommas(names);
}

SiteFinding About(Severity level, const char* code, const SitePlayer* player, std::string message) {
  SiteFinding finding;
  finding.Level = level;
  finding.Code = code;
  if (player) {
    finding.Player = player->Name;
    finding.Line = player->Line;
  }
  finding.Message = std::move(message);
  return finding;
}

void CheckNames(const std::vector<PlayerSetup>& players, std::vector<SiteFinding>& findings) {
  std::map<std::string, const SitePlayer*> first;
  for (const PlayerSetup& setup : players) {
    const SitePlayer& player = *setup.Player;
    if (player.Name.empty()) {
      findings.push_back(About(Severity::Error, "player-unnamed", &player,
                               "The row on line " + std::to_string(player.Line) +
                                   " names no player; give each player a name."));
      continue;
    }
    const auto [at, inserted] = first.emplace(player.Name, &player);
    if (!inserted) {
      findings.push_back(About(Severity::Error, "player-twice", &player,
                               "The player '" + player.Name + "' is named on line " +
                                   std::to_string(at->second->Line) + " and again on line " +
                                   std::to_string(player.Line) +
                                   "; each player is one row with a name of its own."));
    }
    if (player.Bus.empty()) {
      findings.push_back(About(Severity::Error, "bus-missing", &player,
                               "The player " + Named(player) + " is on no bus; name its bus."));
    }
  }
}

// The framing field of a bus whose players do not agree, as "baud rate 9600 ('A' (line 2),
// 'B' (line 3)), 19200 ('C' (line 4))".
std::optional<std::string> Disagreement(const std::vector<const PlayerSetup*>& bus,
                                        const char* what, std::string ModbusRtuSettings::*field) {
  std::vector<std::pair<std::string, std::vector<const PlayerSetup*>>> values;
  for (const PlayerSetup* setup : bus) {
    if (!setup->Settings) continue;
    const std::string& value = (*setup->Settings).*field;
    auto found = std::find_if(values.begin(), values.end(),
                              [&](const auto& entry) { return entry.first == value; });
    if (found == values.end()) {
      values.push_back({value, {setup}});
    } else {
      found->second.push_back(setup);
    }
  }
  if (values.size() < 2) return std::nullopt;
  std::string text = what;
  for (std::size_t i = 0; i < values.size(); ++i) {
    text += (i == 0 ? " " : ", ") + values[i].first + " (" + NamedList(values[i].second) + ")";
  }
  return text;
}

void CheckBus(const std::string& bus, const std::vector<const PlayerSetup*>& players,
              std::vector<SiteFinding>& findings) {
  std::map<int, const PlayerSetup*> ids;
  for (const PlayerSetup* setup : players) {
    const SitePlayer& player = *setup->Player;
    const auto id = DeviceIdOf(player.DeviceId);
    if (!id) {
      findings.push_back(About(Severity::Error, "device-id-range", &player,
                               "The Device ID '" + QuoteForMessage(player.DeviceId) + "' of " +
                                   Named(player) + " is not a number from 1 to 247."));
      continue;
    }
    const auto [at, inserted] = ids.emplace(*id, setup);
    if (!inserted) {
      findings.push_back(About(Severity::Error, "device-id-twice", &player,
                               "Device ID " + std::to_string(*id) + " is used twice on bus " + bus +
                                   ": by " + Named(*at->second->Player) + " and by " +
                                   Named(player) + "; give each player on a bus its own ID."));
    }
  }
  std::vector<std::string> differing;
  const std::pair<const char*, std::string ModbusRtuSettings::*> fields[] = {
      {"baud rate", &ModbusRtuSettings::BaudRate},
      {"parity", &ModbusRtuSettings::Parity},
      {"data bits", &ModbusRtuSettings::DataBits},
      {"stop bits", &ModbusRtuSettings::StopBits}};
  for (const auto& [what, field] : fields) {
    if (const auto text = Disagreement(players, what, field)) differing.push_back(*text);
  }
  if (!differing.empty()) {
    std::string message = "The players on bus " + bus + " do not share one framing: ";
    for (std::size_t i = 0; i < differing.size(); ++i) message += (i ? "; " : "") + differing[i];
    findings.push_back(About(Severity::Error, "bus-framing", nullptr,
                             message + ". Every device on a bus must use the same baud rate, "
                                       "parity, data bits and stop bits."));
  }
  if (static_cast<int>(players.size()) > kMaxPlayersOnSegment) {
    findings.push_back(About(
        Severity::Error, "bus-too-many", nullptr,
        "Bus " + bus + " has " + std::to_string(players.size()) +
            " players: a segment carries 32 unit loads, the master's among them, so at most " +
            std::to_string(kMaxPlayersOnSegment) +
            " players; split the bus or add a repeater and give the rest another bus."));
  }
  const auto unparitied = std::find_if(players.begin(), players.end(), [](const PlayerSetup* s) {
    return s->Settings && s->Settings->Parity == "None" && s->Settings->StopBits == "1";
  });
  if (unparitied != players.end()) {
    findings.push_back(About(Severity::Warning, "no-parity-one-stop-bit", nullptr,
                             "Bus " + bus +
                                 " runs without parity on one stop bit; Modbus over a serial "
                                 "line asks for \"2 stop bits if no parity is used\", and a "
                                 "master that keeps to it may not read these players: set "
                                 "stop_bits to 2, or use even parity."));
  }
}

}  // namespace

std::optional<int> DeviceIdOf(const std::string& text) {
  if (text.empty() || text.size() > 3 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  const int id = std::stoi(text);
  if (id < kLowestDeviceId || id > kHighestDeviceId) return std::nullopt;
  return id;
}

std::vector<SiteFinding> CheckBusRules(const std::vector<PlayerSetup>& players) {
  std::vector<SiteFinding> findings;
  CheckNames(players, findings);
  std::vector<std::pair<std::string, std::vector<const PlayerSetup*>>> buses;
  for (const PlayerSetup& setup : players) {
    if (setup.Player->Bus.empty()) continue;
    auto found = std::find_if(buses.begin(), buses.end(),
                              [&](const auto& bus) { return bus.first == setup.Player->Bus; });
    if (found == buses.end()) {
      buses.push_back({setup.Player->Bus, {&setup}});
    } else {
      found->second.push_back(&setup);
    }
  }
  for (const auto& [bus, onBus] : buses) CheckBus(bus, onBus, findings);
  return findings;
}

std::string SiteFindingLine(const SiteFinding& finding) {
  std::string where;
  if (!finding.Player.empty()) {
    where = "'" + finding.Player + "' (line " + std::to_string(finding.Line) + "): ";
  } else if (finding.Line > 0) {
    where = "line " + std::to_string(finding.Line) + ": ";
  }
  return SeverityName(finding.Level) + ": " + where + finding.Message;
}

}  // namespace pwx
