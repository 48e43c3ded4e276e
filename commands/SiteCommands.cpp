// The site commands: a site file of many players checked, and its players' cards written.
#include <iostream>

#ifndef _WIN32
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "commands/CommandPaths.h"
#include "commands/CommandRegistry.h"
#include "commands/CommandTable.h"
#include "commands/ProgressPrinter.h"
#include "commands/ReportCommand.h"
#include "common/FileIdentity.h"
#include "common/FileReplacement.h"
#include "common/JsonValue.h"
#include "common/MessageText.h"
#include "delivery/SiteDeploy.h"
#include "delivery/SiteReport.h"

namespace pwx {

namespace {

std::optional<SiteSetup> OpenSite(const std::string& path, std::ostream& err) {
  try {
    return SetUpSite(ReadSiteFile(path));
  } catch (const EditorError& error) {
    err << "error: " << TerminalText(error.what()) << "\n";
    return std::nullopt;
  }
}

void PrintFindingsJson(const std::vector<SiteFinding>& findings, std::ostream& out) {
  JsonValue list = JsonValue::Array();
  for (const SiteFinding& f : findings) {
    list.Append(
        JsonValue::Object()
            .Set("severity", SeverityName(f.Level))
            .Set("code", f.Code)
            .Set("player", f.Player.empty() ? JsonValue() : JsonValue(f.Player))
            .Set("line", f.Line > 0 ? JsonValue(static_cast<std::uint64_t>(f.Line)) : JsonValue())
            .Set("message", f.Message));
  }
  out << list.Text() << "\n";
}

CommandExit RunCheck(const CommandInput& input, CommandContext& context) {
  auto setup = OpenSite(input.Argument(0), context.Err);
  if (!setup) return CommandExit::CannotRun;
  ProgressPrinter progress(context.Err,
                           ProgressPrinter::ModeFor(input.Has("quiet"), context.ErrIsTerminal));
  SiteCheckOptions options;
  options.Work = {progress.Callback(), context.Cancel};
  const std::vector<SiteFinding> findings = CheckSite(*setup, options);
  progress.Clear();
  if (context.Cancel && context.Cancel->load()) {
    context.Err << "Interrupted: the check stopped before its end and reports nothing.\n";
    return CommandExit::Interrupted;
  }
  if (input.Has("json")) {
    PrintFindingsJson(findings, context.Out);
  } else {
    for (const SiteFinding& f : findings) context.Out << TerminalText(SiteFindingLine(f)) << "\n";
    context.Out << TerminalText(SiteSummary(*setup, findings)) << "\n";
  }
  return SiteHasErrors(findings) ? CommandExit::Failed : CommandExit::Success;
}

// Reads a line of the terminal; false at the end of the input or once a signal came. The
// signal is looked for while waiting, so Ctrl+C at the prompt stops the batch there.
bool ReadLine(const CommandContext& context) {
#ifdef _WIN32
  std::string line;
  return static_cast<bool>(std::getline(std::cin, line)) &&
         !(context.Cancel && context.Cancel->load());
#else
  for (;;) {
    if (context.Cancel && context.Cancel->load()) return false;
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (poll(&input, 1, 200) <= 0) continue;
    char c = 0;
    const ssize_t got = read(STDIN_FILENO, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    if (c == '\n') return !(context.Cancel && context.Cancel->load());
  }
#endif
}

// Waits for the user to put the card in; false at the end of the input or on a signal.
bool WaitForCard(const SitePlayer& player, const CommandContext& context) {
  context.Err << TerminalText("Insert the card for player " + SitePlayerText(player) +
                              " and press Enter")
              << std::flush;
  const bool got = ReadLine(context);
  context.Err << "\n";
  return got;
}

CommandExit RunDeploy(const CommandInput& input, CommandContext& context) {
  const bool all = input.Has("all");
  const std::string sitePath = input.Argument(0);
  const std::string destination = all ? input.Argument(1) : input.Argument(2);
  if (destination.empty() || (all && !input.Argument(2).empty())) {
    context.Err << (all ? "site deploy --all takes SITE and DEST\n"
                        : "site deploy takes SITE, PLAYER and DEST (or --all with SITE, DEST)\n");
    return CommandExit::CannotRun;
  }
  auto setup = OpenSite(sitePath, context.Err);
  if (!setup) return CommandExit::CannotRun;
  std::vector<std::size_t> players;
  if (all) {
    for (std::size_t i = 0; i < setup->Players.size(); ++i) players.push_back(i);
  } else if (const auto found = FindSitePlayer(*setup, input.Argument(1))) {
    players.push_back(*found);
  } else {
    context.Err << "error: the site has no player "
                << TerminalText(QuoteForMessage(input.Argument(1))) << "\n";
    return CommandExit::CannotRun;
  }
  // The bus rules first: a card with a clashing address is worse than no card.
  if (const auto why = WhyNoCardIsWritten(*setup)) {
    context.Err << "error: " << TerminalText(*why) << "\n";
    return CommandExit::Failed;
  }
  ProgressPrinter progress(context.Err,
                           ProgressPrinter::ModeFor(input.Has("quiet"), context.ErrIsTerminal));
  FileHashCache cache(HashStorePath());
  SiteCardOptions options;
  options.Cache = &cache;
  options.Force = input.Has("force");
  options.DeleteStale = input.Has("delete-stale");
  options.Work = {progress.Callback(), context.Cancel};
  const std::string log = SiteLogPath(sitePath);
  // The count of cards is progress: -q leaves it out, as it leaves out the files' steps.
  const bool quiet = input.Has("quiet");
  int verified = 0;
  bool failed = false;
  for (std::size_t n = 0; n < players.size(); ++n) {
    const std::size_t player = players[n];
    if (all && !input.Has("no-prompt") && !WaitForCard(setup->Site.Players[player], context)) {
      context.Err << "Stopped: " << verified << " of " << players.size() << " cards verified.\n";
      return context.Cancel && context.Cancel->load() ? CommandExit::Interrupted
                                                      : CommandExit::Failed;
    }
    const SiteCardResult result = DeploySitePlayer(*setup, player, destination, options);
    progress.Clear();
    try {
      AppendSiteLog(log, SiteLogEntryOf(*setup, player, destination, result));
    } catch (const EditorError& error) {
      context.Err << "warning: " << TerminalText(error.what()) << "\n";
    }
    const std::string who = SitePlayerText(setup->Site.Players[player]);
    if (result.Verified()) {
      ++verified;
      context.Out << TerminalText(who + ": " + result.Result->Summary()) << "\n";
      if (!quiet) context.Err << "card " << n + 1 << " of " << players.size() << " verified\n";
      continue;
    }
    failed = true;
    context.Out << TerminalText(who + ": " +
                                (result.Refusal ? *result.Refusal : result.Result->Summary()))
                << "\n";
    if (!quiet) context.Err << "card " << n + 1 << " of " << players.size() << " not verified\n";
    if (result.Result && result.Result->Cancelled) {
      cache.Save();
      return CommandExit::Interrupted;
    }
  }
  cache.Save();
  return failed ? CommandExit::Failed : CommandExit::Success;
}

// Why a report cannot go to `path`: it would take the place of the site file or its log.
std::optional<std::string> RefusalOfOutput(const std::string& path, const std::string& sitePath) {
  for (const std::string& own : {sitePath, SiteLogPath(sitePath)}) {
    const auto a = IdentityOf(path);
    if (a && a == IdentityOf(own)) {
      return "The report would take the place of " + QuotePath(own) + "; name another file.";
    }
  }
  return std::nullopt;
}

CommandExit RunReport(const CommandInput& input, CommandContext& context) {
  const std::string sitePath = input.Argument(0);
  const std::string pdfPath = input.Value("output");
  const std::string csvPath = input.Value("csv");
  for (const std::string& path : {pdfPath, csvPath}) {
    if (path.empty()) continue;
    if (const auto why = RefusalOfOutput(path, sitePath)) {
      context.Err << "error: " << TerminalText(*why) << "\n";
      return CommandExit::CannotRun;
    }
  }
  auto setup = OpenSite(sitePath, context.Err);
  if (!setup) return CommandExit::CannotRun;
  ProgressPrinter progress(context.Err,
                           ProgressPrinter::ModeFor(input.Has("quiet"), context.ErrIsTerminal));
  SiteCheckOptions checking;
  checking.Work = {progress.Callback(), context.Cancel};
  const std::vector<SiteFinding> findings = CheckSite(*setup, checking);
  progress.Clear();
  if (context.Cancel && context.Cancel->load()) {
    context.Err << "Interrupted: no report was written.\n";
    return CommandExit::Interrupted;
  }
  std::vector<SiteLogEntry> log;
  try {
    log = ReadSiteLog(SiteLogPath(sitePath));
  } catch (const EditorError& error) {
    context.Err << "warning: " << TerminalText(error.what()) << "; no card is shown as written.\n";
  }
  SiteReportOptions options;
  options.MadeAt = ReportTimeNow();
  options.Program = "PWX36 Editor " + std::string(Program().Version);
  std::string why = "The PDF could not be laid out.";
  const std::optional<std::string> pdf =
      context.RenderPdf ? context.RenderPdf(SiteReportHtml(*setup, findings, log, options),
                                            "Site report", options.Program, why)
                        : std::nullopt;
  if (!pdf || pdf->empty()) {
    context.Err << TerminalText(CannotCreateText(pdfPath, why)) << "\n";
    return CommandExit::CannotRun;
  }
  try {
    ReplaceFile(pdfPath, *pdf);
    context.Out << "Report written to " << TerminalText(pdfPath) << "\n";
    if (!csvPath.empty()) {
      ReplaceFile(csvPath, SiteAddressCsv(*setup));
      context.Out << "Register of addresses written to " << TerminalText(csvPath) << "\n";
    }
  } catch (const EditorError& error) {
    context.Err << "error: " << TerminalText(error.what()) << "\n";
    return CommandExit::CannotRun;
  }
  return CommandExit::Success;
}

}  // namespace

const CommandDefinition& SiteReportCommandDefinition() {
  static const CommandDefinition definition{
      "site report",
      "Writes a site's bus plan, its check and its cards as a PDF",
      "Checks the site file SITE as site check does and writes its report as a PDF: the bus "
      "plan (per bus its framing, and its players by Device ID with location, template, "
      "volume), the check's findings, and per player whether its card was written and "
      "verified, from the site log beside the site file. With --csv it writes as well the "
      "register of addresses for the building's control system: bus, device_id, player, "
      "location, baud, parity, data_bits and stop_bits, one row per player.",
      {{"SITE", ValueKind::File, false, "The site file."}},
      {{"output", 'o', "FILE", ValueKind::File, true, "The PDF to write."},
       {"csv", 0, "FILE", ValueKind::File, false, "The register of addresses to write (CSV)."}},
      {{0, "the report (and the register) was written"},
       {2, "wrong arguments, a file that cannot be read as a site file, or one not written"}},
      RunReport,
  };
  return definition;
}

const CommandDefinition& SiteCheckCommandDefinition() {
  static const CommandDefinition definition{
      "site check",
      "Checks a site file: its players, their buses and their templates",
      "Reads the site file SITE (CSV: a header row naming the columns player, location, bus, "
      "device_id, volume and project, optionally baud, parity, data_bits, stop_bits and "
      "notes, then one row per player) and checks it: each Device ID from 1 to 247 and once "
      "on its bus, one framing (baud rate, parity, data and stop bits) per bus, at most 31 "
      "players on a bus, a warning for a bus without parity on one stop bit, each player "
      "named once, and each template project there and passing the project check. Changes "
      "no file. Prints one finding a line, errors first, and a summary line.",
      {{"SITE", ValueKind::File, false, "The site file (CSV, comma or semicolon separated)."}},
      {{"json", 0, "", ValueKind::Text, false,
        "Prints the findings as a JSON array of objects with severity, code, player, line "
        "(or null) and message."}},
      {{0, "no errors (warnings may be found)"},
       {1, "errors found"},
       {2, "wrong arguments, or a file that cannot be read as a site file"}},
      RunCheck,
  };
  return definition;
}

const CommandDefinition& SiteDeployCommandDefinition() {
  static const CommandDefinition definition{
      "site deploy",
      "Writes and verifies the card of a site's player, or of every player in turn",
      "Writes the card of the player PLAYER of the site file SITE to DEST, as deploy does, "
      "from the player's template project with an rtu.cfg and a vol.cfg made from the site "
      "file's row (the template's files are never changed), and reads every file written "
      "back. With --all it asks for each player's card in turn (\"Insert the card for player "
      "'Hall A / 3' (bus 1, Device ID 12) and press Enter\") and writes it to DEST, where the "
      "cards are mounted; the template's files are hashed once for the whole batch.\n\n"
      "A site with errors in its bus rules writes no card. A card that holds another player's "
      "files of this site is refused unless --force. Each card is recorded in the site log "
      "beside the site file (SITE with .log.csv for its extension): player, card, time, "
      "whether it was written and verified, and the SHA-256 of each file.",
      {{"SITE", ValueKind::File, false, "The site file."},
       {"PLAYER", ValueKind::Text, false,
        "The player, as its player column names it; with --all, DEST instead."},
       {"DEST", ValueKind::Folder, true, "The card's folder (its mount point)."}},
      {{"all", 0, "", ValueKind::Text, false, "Writes every player's card, one after another."},
       {"force", 0, "", ValueKind::Text, false, "Writes a card that holds another player's files."},
       {"delete-stale", 0, "", ValueKind::Text, false, "As deploy's --delete-stale."},
       {"no-prompt", 0, "", ValueKind::Text, false,
        "With --all, does not wait for Enter before each card (DEST is then a card changer's "
        "or a test's folder)."}},
      {{0, "every card written was verified"},
       {1, "the site has errors, a card was refused or failed"},
       {2, "wrong arguments, or a file that cannot be read as a site file"}},
      RunDeploy,
  };
  return definition;
}

}  // namespace pwx
