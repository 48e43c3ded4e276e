#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "delivery/ProjectCheck.h"
#include "delivery/SiteFile.h"
#include "model/AlarmProject.h"

namespace pwx {

// A player on a Modbus RTU bus takes one of the 32 unit loads a segment carries; the master
// takes another.
inline constexpr int kMaxPlayersOnSegment = 31;
inline constexpr int kLowestDeviceId = 1;
inline constexpr int kHighestDeviceId = 247;

// One thing a site's check found: how bad, a stable code, the player (and its line) it is
// about, and one sentence saying what is wrong and what to do.
struct SiteFinding {
  Severity Level = Severity::Error;
  std::string Code;
  std::string Player;    // empty when about a bus or a template
  std::size_t Line = 0;  // of the player's row, 0 when none
  std::string Message;
  bool operator==(const SiteFinding&) const = default;
};

// A player's settings as its card gets them: the template's, with the site file's cells over
// them. `Settings` is empty when the template is missing or a cell cannot be taken.
struct PlayerSetup {
  const SitePlayer* Player = nullptr;
  std::optional<ModbusRtuSettings> Settings;
  int Volume = kDefaultVolume;
};

// The Device ID a text names when it is an integer from 1 to 247, else nothing.
std::optional<int> DeviceIdOf(const std::string& text);

// The rules of the buses over the players' settings: each Device ID from 1 to 247 and once
// on its bus, one framing (baud rate, parity, data and stop bits) per bus, at most 31 players
// on a bus, no bus without parity on one stop bit (a warning), each player named once and
// each given a bus. Findings come bus by bus in the order the buses first appear.
std::vector<SiteFinding> CheckBusRules(const std::vector<PlayerSetup>& players);

// "error: 'Hall A / 3' (line 4): message", one line.
std::string SiteFindingLine(const SiteFinding& finding);

}  // namespace pwx
