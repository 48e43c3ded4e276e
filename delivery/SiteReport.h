#pragma once

#include <string>
#include <vector>

#include "delivery/SiteCheck.h"
#include "delivery/SiteDeploy.h"

namespace pwx {

// A site's players bus by bus, sorted by Device ID (those without a valid ID last, in file
// order): what the bus plan and the register of addresses list.
struct SiteBus {
  std::string Name;
  std::vector<std::size_t> Players;  // indices into the site's players
};
std::vector<SiteBus> SiteBuses(const SiteSetup& setup);

// "19200 baud, Even parity, 8 data bits, 1 stop bit": a bus's framing, as its first player
// has it; "mixed" text when its players differ (the check then says how).
std::string BusFramingText(const SiteSetup& setup, const SiteBus& bus);

struct SiteReportOptions {
  std::string MadeAt;   // "2026-12-09 14:05"
  std::string Program;  // "PWX36 Editor 1.0.0"
};

// The site report as one HTML page for a printed document: the bus plan (per bus its
// framing and its players with Device ID, location, template and volume, by ID), the
// check's findings, and per player whether its card was written and verified, from the
// site log's last row for it. Every text from the site is escaped.
std::string SiteReportHtml(const SiteSetup& setup, const std::vector<SiteFinding>& findings,
                           const std::vector<SiteLogEntry>& log, const SiteReportOptions& options);

// The register of addresses for the building's control system: one row per player, bus by
// bus and by Device ID, with bus, device_id, player, location, baud, parity, data_bits,
// stop_bits.
std::string SiteAddressCsv(const SiteSetup& setup);

}  // namespace pwx
