#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/Progress.h"
#include "delivery/BusRules.h"
#include "delivery/SiteFile.h"
#include "project/ProjectSnapshot.h"

namespace pwx {

// A template project of a site, read once for all its players.
struct SiteTemplate {
  std::string Name;                        // as the site file writes it
  std::string Folder;                      // where it was read, ending with a separator
  std::optional<ProjectSnapshot> Project;  // nothing when it cannot be read
  std::string Failure;                     // why not
};

// A site with its templates read and each player's settings worked out.
// Its players point into its own site: it moves, and is not copied.
struct SiteSetup {
  SiteSetup() = default;
  SiteSetup(SiteSetup&&) = default;
  SiteSetup& operator=(SiteSetup&&) = default;
  SiteSetup(const SiteSetup&) = delete;
  SiteSetup& operator=(const SiteSetup&) = delete;

  SiteFile Site;
  std::vector<SiteTemplate> Templates;
  std::vector<PlayerSetup> Players;   // one per player, pointing into `Site`
  std::vector<int> TemplateOfPlayer;  // index into `Templates`, per player
  std::vector<SiteFinding> Findings;  // settings that cannot be taken, missing templates
};

// Reads each template the site names once and works out every player's settings: the
// template's, with the site file's cells (device_id, baud, parity, data_bits, stop_bits,
// volume) over them, each checked as a one-line edit of the project is. A cell that cannot
// be taken, and a template that cannot be read, is a finding.
SiteSetup SetUpSite(SiteFile site);

struct SiteCheckOptions {
  // Runs the project check on each template (decoding its clips); the bus rules alone when
  // false, as a live check while editing does.
  bool CheckTemplates = true;
  WorkControl Work;
};

// The site's findings: the settings and templates of SetUpSite, the bus rules, and each
// template's project check (its errors and warnings, as findings of the template). Reads,
// writes nothing. The errors come first.
std::vector<SiteFinding> CheckSite(const SiteSetup& setup, const SiteCheckOptions& options = {});

// Why no card of the site is written now: an error of its settings or bus rules (the
// templates' clips are not decoded for this), or nothing.
std::optional<std::string> WhyNoCardIsWritten(const SiteSetup& setup);

// Whether the findings hold an error.
bool SiteHasErrors(const std::vector<SiteFinding>& findings);

// "Site: 12 players on 2 buses; 1 error, 2 warnings", or "...; no problems found".
std::string SiteSummary(const SiteSetup& setup, const std::vector<SiteFinding>& findings);

// The files a player's card gets instead of the template's: rtu.cfg and vol.cfg, made by the
// code that saves. Raises EditorError when the player's settings give no rtu.cfg.
struct PlayerCardFiles {
  std::string Rtu;
  std::string Volume;
};
PlayerCardFiles CardFilesFor(const PlayerSetup& player);

// The index of the player named `name`, or nothing.
std::optional<std::size_t> FindSitePlayer(const SiteSetup& setup, const std::string& name);

}  // namespace pwx
