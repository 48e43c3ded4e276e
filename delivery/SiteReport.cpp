#include "delivery/SiteReport.h"

#include <algorithm>
#include <map>

#include "common/CsvTable.h"
#include "delivery/ReportText.h"

namespace pwx {

namespace {

// Text set into a cell, its lines kept apart.
std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : HtmlEscaped(text)) {
    if (c == '\n') {
      out += "<br>";
    } else {
      out += c;
    }
  }
  return out;
}

std::string Row(const std::vector<std::string>& cells, const char* tag = "td") {
  std::string row = "<tr>";
  for (const std::string& cell : cells) {
    row += std::string("<") + tag + " align=\"left\">" + Escaped(cell) + "</" + tag + ">";
  }
  return row + "</tr>";
}

const ModbusRtuSettings* SettingsOf(const SiteSetup& setup, std::size_t player) {
  const auto& settings = setup.Players[player].Settings;
  return settings ? &*settings : nullptr;
}

std::string Plural(const std::string& count, const char* one, const char* many) {
  return count + " " + (count == "1" ? one : many);
}

std::string FramingOf(const ModbusRtuSettings& s) {
  return s.BaudRate + " baud, " + s.Parity + " parity, " +
         Plural(s.DataBits, "data bit", "data bits") + ", " +
         Plural(s.StopBits, "stop bit", "stop bits");
}

std::string CardStateText(const std::vector<SiteLogEntry>& log, const SitePlayer& player) {
  const auto last = std::find_if(log.rbegin(), log.rend(), [&](const SiteLogEntry& entry) {
    return entry.Player == player.Name;
  });
  if (last == log.rend()) return "not written";
  if (last->Verified) return "written and verified " + last->Time;
  if (last->Written) return "written " + last->Time + ", not verified";
  return "not written (" + last->Time + ": " + last->Result + ")";
}

}  // namespace

std::vector<SiteBus> SiteBuses(const SiteSetup& setup) {
  std::vector<SiteBus> buses;
  const auto& players = setup.Site.Players;
  for (std::size_t i = 0; i < players.size(); ++i) {
    auto found = std::find_if(buses.begin(), buses.end(),
                              [&](const SiteBus& bus) { return bus.Name == players[i].Bus; });
    if (found == buses.end()) {
      buses.push_back({players[i].Bus, {i}});
    } else {
      found->Players.push_back(i);
    }
  }
  for (SiteBus& bus : buses) {
    std::stable_sort(bus.Players.begin(), bus.Players.end(), [&](std::size_t a, std::size_t b) {
      return DeviceIdOf(players[a].DeviceId).value_or(1000) <
             DeviceIdOf(players[b].DeviceId).value_or(1000);
    });
  }
  return buses;
}

std::string BusFramingText(const SiteSetup& setup, const SiteBus& bus) {
  std::string first;
  for (const std::size_t player : bus.Players) {
    const ModbusRtuSettings* settings = SettingsOf(setup, player);
    if (!settings) continue;
    const std::string framing = FramingOf(*settings);
    if (first.empty()) {
      first = framing;
    } else if (framing != first) {
      return "mixed: the players do not share one framing";
    }
  }
  return first.empty() ? "unknown (no template read)" : first;
}

std::string SiteReportHtml(const SiteSetup& setup, const std::vector<SiteFinding>& findings,
                           const std::vector<SiteLogEntry>& log, const SiteReportOptions& options) {
  const auto& players = setup.Site.Players;
  std::string html = "<html><body style=\"font-family: sans-serif; font-size: 10pt;\">";
  html += "<h1>Site report</h1><p>Site file: " + Escaped(setup.Site.Path) + "<br>Made " +
          Escaped(options.MadeAt) + " by " + Escaped(options.Program) + "<br>" +
          Escaped(SiteSummary(setup, findings)) + "</p>";
  html += "<h2>Bus plan</h2>";
  for (const SiteBus& bus : SiteBuses(setup)) {
    html += "<h3>Bus " + Escaped(bus.Name) + ": " + Escaped(BusFramingText(setup, bus)) + ", " +
            Plural(std::to_string(bus.Players.size()), "player", "players") + "</h3>";
    html += kReportTable;
    html += Row({"Device ID", "Player", "Location", "Template", "Volume", "Card"}, "th");
    for (const std::size_t i : bus.Players) {
      const SitePlayer& player = players[i];
      html += Row({player.DeviceId, player.Name, player.Location, player.Project,
                   std::to_string(setup.Players[i].Volume), CardStateText(log, player)});
    }
    html += "</table>";
  }
  html += "<h2>Check</h2>";
  if (findings.empty()) {
    html += "<p>No problems found.</p>";
  } else {
    html += kReportTable;
    html += Row({"Severity", "Player", "Line", "Finding"}, "th");
    for (const SiteFinding& f : findings) {
      html += Row(
          {SeverityName(f.Level), f.Player, f.Line > 0 ? std::to_string(f.Line) : "", f.Message});
    }
    html += "</table>";
  }
  return html + "</body></html>";
}

std::string SiteAddressCsv(const SiteSetup& setup) {
  std::string csv = CsvLine(
      {"bus", "device_id", "player", "location", "baud", "parity", "data_bits", "stop_bits"});
  for (const SiteBus& bus : SiteBuses(setup)) {
    for (const std::size_t i : bus.Players) {
      const SitePlayer& player = setup.Site.Players[i];
      const ModbusRtuSettings* s = SettingsOf(setup, i);
      csv += CsvLine({bus.Name, player.DeviceId, player.Name, player.Location, s ? s->BaudRate : "",
                      s ? s->Parity.substr(0, 1) : "", s ? s->DataBits : "", s ? s->StopBits : ""});
    }
  }
  return csv;
}

}  // namespace pwx
