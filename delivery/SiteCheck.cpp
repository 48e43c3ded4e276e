#include "delivery/SiteCheck.h"

#include <algorithm>
#include <set>

#include "common/EditorError.h"
#include "common/FileSystem.h"
#include "common/MessageText.h"
#include "devicefiles/RtuVolumeFiles.h"
#include "project/ProjectFolder.h"
#include "textform/KeyEdits.h"

namespace pwx {

namespace {

bool IsAbsolute(const std::string& path) {
  return (!path.empty() && (path[0] == '/' || path[0] == '\\')) ||
         (path.size() > 1 && path[1] == ':');
}

int TemplateIndex(SiteSetup& setup, const std::string& name) {
  for (std::size_t i = 0; i < setup.Templates.size(); ++i) {
    if (setup.Templates[i].Name == name) return static_cast<int>(i);
  }
  SiteTemplate read;
  read.Name = name;
  read.Folder = WithSeparator(IsAbsolute(name) ? name : setup.Site.Folder + name);
  if (name.empty()) {
    read.Failure = "no template is named";
  } else {
    try {
      if (!FolderExists(read.Folder))
        throw EditorError("there is no folder " + QuotePath(read.Folder));
      read.Project = ReadProjectFolder(read.Folder);
    } catch (const EditorError& error) {
      read.Failure = error.what();
    }
  }
  setup.Templates.push_back(std::move(read));
  return static_cast<int>(setup.Templates.size()) - 1;
}

// The player's cells as one-line edits, all but the Device ID, which the bus rules judge.
std::vector<std::string> SettingEdits(const SitePlayer& player) {
  std::vector<std::string> edits;
  const std::pair<const char*, const std::string*> cells[] = {{"baud", &player.Baud},
                                                              {"parity", &player.Parity},
                                                              {"data-bits", &player.DataBits},
                                                              {"stop-bits", &player.StopBits},
                                                              {"volume", &player.Volume}};
  for (const auto& [key, cell] : cells) {
    if (!cell->empty()) edits.push_back(std::string(key) + "=" + *cell);
  }
  return edits;
}

}  // namespace

SiteSetup SetUpSite(SiteFile site) {
  SiteSetup setup;
  setup.Site = std::move(site);
  for (const SitePlayer& player : setup.Site.Players) {
    const int index = TemplateIndex(setup, player.Project);
    setup.TemplateOfPlayer.push_back(index);
    PlayerSetup resolved;
    resolved.Player = &player;
    const SiteTemplate& made = setup.Templates[static_cast<std::size_t>(index)];
    if (!made.Project) {
      setup.Findings.push_back({Severity::Error, "template-missing", player.Name, player.Line,
                                "The template '" + QuoteForMessage(player.Project) + "' of '" +
                                    player.Name + "' cannot be read: " + made.Failure + "."});
      setup.Players.push_back(resolved);
      continue;
    }
    ProjectText text;
    text.Settings = made.Project->Project.Settings;
    text.Volume = made.Project->Project.Volume;
    bool taken = true;
    for (const std::string& edit : SettingEdits(player)) {
      try {
        text = ApplyKeyEdits(text, {edit});
      } catch (const TextFormError& error) {
        setup.Findings.push_back({Severity::Error, "bad-setting", player.Name, player.Line,
                                  "'" + player.Name + "': " + error.what()});
        taken = false;
      }
    }
    if (DeviceIdOf(player.DeviceId)) text.Settings.DeviceId = player.DeviceId;
    // A player whose cells cannot all be taken has no settings for the bus rules to judge.
    if (taken) resolved.Settings = text.Settings;
    resolved.Volume = text.Volume;
    setup.Players.push_back(resolved);
  }
  return setup;
}

std::vector<SiteFinding> CheckSite(const SiteSetup& setup, const SiteCheckOptions& options) {
  std::vector<SiteFinding> findings = setup.Findings;
  const std::vector<SiteFinding> bus = CheckBusRules(setup.Players);
  findings.insert(findings.end(), bus.begin(), bus.end());
  if (options.CheckTemplates) {
    CheckOptions check;
    check.CompareWithDisk = false;
    check.Work = options.Work;
    for (const SiteTemplate& made : setup.Templates) {
      if (!made.Project) continue;
      for (const Finding& found : CheckProject(*made.Project, check)) {
        if (found.Level == Severity::Info) continue;
        // The template's settings are the players', judged by the bus rules above.
        if (found.File == kRtuFileName || found.File == kVolumeFileName) continue;
        findings.push_back(
            {found.Level, "template-" + found.Code, "", 0,
             "Template " + QuotePath(made.Name) + ": " + found.Where() + ": " + found.Message});
      }
      if (options.Work.Cancelled()) break;
    }
  }
  std::stable_sort(findings.begin(), findings.end(), [](const auto& a, const auto& b) {
    return static_cast<int>(a.Level) < static_cast<int>(b.Level);
  });
  return findings;
}

std::optional<std::string> WhyNoCardIsWritten(const SiteSetup& setup) {
  const std::vector<SiteFinding> findings = CheckSite(setup, {false, {}});
  const auto error = std::find_if(findings.begin(), findings.end(),
                                  [](const SiteFinding& f) { return f.Level == Severity::Error; });
  if (error == findings.end()) return std::nullopt;
  return "The site has errors (" + SiteFindingLine(*error) +
         (findings.size() > 1 ? ", and more" : "") +
         "); no card is written until they are put right.";
}

bool SiteHasErrors(const std::vector<SiteFinding>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const SiteFinding& f) { return f.Level == Severity::Error; });
}

std::string SiteSummary(const SiteSetup& setup, const std::vector<SiteFinding>& findings) {
  std::set<std::string> buses;
  for (const SitePlayer& player : setup.Site.Players) buses.insert(player.Bus);
  const std::size_t players = setup.Site.Players.size();
  const auto count = [&](Severity level) {
    return std::count_if(findings.begin(), findings.end(),
                         [&](const SiteFinding& f) { return f.Level == level; });
  };
  const auto errors = count(Severity::Error);
  const auto warnings = count(Severity::Warning);
  std::string text = "Site: " + std::to_string(players) + (players == 1 ? " player" : " players") +
                     " on " + std::to_string(buses.size()) +
                     (buses.size() == 1 ? " bus; " : " buses; ");
  if (errors == 0 && warnings == 0) return text + "no problems found";
  text += std::to_string(errors) + (errors == 1 ? " error" : " errors");
  return text + ", " + std::to_string(warnings) + (warnings == 1 ? " warning" : " warnings");
}

PlayerCardFiles CardFilesFor(const PlayerSetup& player) {
  if (!player.Settings) {
    throw EditorError("The settings of '" + player.Player->Name +
                      "' cannot be worked out: its template cannot be read, or a cell of its row "
                      "cannot be taken (see site check).");
  }
  DiagnosticLog log;
  const RtuFileContent rtu = RtuFileFor(*player.Settings, log);
  if (!rtu.Line) throw EditorError("'" + player.Player->Name + "': " + rtu.Refusal->Text);
  return {*rtu.Line, VolumeFileFor(player.Volume)};
}

std::optional<std::size_t> FindSitePlayer(const SiteSetup& setup, const std::string& name) {
  for (std::size_t i = 0; i < setup.Site.Players.size(); ++i) {
    if (setup.Site.Players[i].Name == name) return i;
  }
  return std::nullopt;
}

}  // namespace pwx
