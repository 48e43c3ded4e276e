#include "commands/ReportCommand.h"

#include <ctime>

#include "commands/CommandPaths.h"
#include "commands/CommandRegistry.h"
#include "commands/FolderProject.h"
#include "common/EditorError.h"
#include "common/FileReplacement.h"
#include "common/MessageText.h"
#include "delivery/CommissioningReport.h"
#include "delivery/ReportFiles.h"
#include "delivery/ReportHtml.h"

namespace pwx {

namespace {

bool Cancelled(const ReportRequest& request) {
  return request.Cancel && request.Cancel->load();
}

bool ToStream(const std::string& path) {
  return path == kStandardStream;
}

// Writes one document to its file or to `out`; says why not on `err`.
bool WriteDocument(const std::string& path, const std::string& bytes, const char* what,
                   const std::string& projectFolder, std::ostream& out, std::ostream& err) {
  if (ToStream(path)) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (out) return true;
    err << "Cannot write the " << what << " to standard output.\n";
    return false;
  }
  try {
    WriteReportFile(path, bytes, projectFolder);
    return true;
  } catch (const EditorError& error) {
    err << TerminalText(error.what()) << "\n";
    return false;
  }
}

std::optional<std::string> RefusalOfStreams(const ReportRequest& request) {
  if (ToStream(request.Pdf) && ToStream(request.Csv)) {
    return "The PDF and the alarm table cannot both go to standard output; name a file for "
           "one of them.";
  }
  if ((ToStream(request.Pdf) || ToStream(request.Csv)) && request.OutIsTerminal) {
    return std::string("The ") + (ToStream(request.Pdf) ? "PDF" : "alarm table") +
           " is not written to a terminal: redirect standard output to a file or a program, "
           "or name a file.";
  }
  return std::nullopt;
}

CommandExit Run(const CommandInput& input, CommandContext& context) {
  ReportRequest request;
  request.Folder = AbsolutePath(input.Argument(0));
  request.StartFolder = context.StartFolder;
  request.Pdf = input.Value("output");
  request.Csv = input.Value("csv");
  request.OutIsTerminal = context.OutIsTerminal;
  request.Progress = ProgressPrinter::ModeFor(input.Has("quiet"), context.ErrIsTerminal);
  request.Cancel = context.Cancel;
  request.RenderPdf = context.RenderPdf;
  request.MadeAt = ReportTimeNow();
  return ReportToFiles(request, context.Out, context.Err);
}

}  // namespace

const CommandDefinition& ReportCommandDefinition() {
  static const CommandDefinition definition{
      "report",
      "Writes a project's commissioning report as PDF, and its alarm table as CSV",
      "Writes the commissioning report of the saved project in FOLDER, as the window's "
      "Report does: an A4 PDF of the player settings, the alarm table, every clip with its "
      "source, format and SHA-256, the files a save writes, the project check's result and "
      "lines to sign. Prints \"Report written to FILE\" once every file asked for is whole on "
      "the disk.\n\n"
      "A file is written under a temporary name beside its place and renamed, so a full disk "
      "leaves the previous report as it was; a report never takes the place of one of the "
      "project's own files, and -o and --csv must name two files.",
      {{"FOLDER", ValueKind::Folder, false, "The saved project folder."}},
      {{"output", 'o', "FILE", ValueKind::File, true,
        "The PDF to write; - writes it to standard output (never to a terminal)."},
       {"csv", 0, "FILE", ValueKind::File, false,
        "Also writes the alarm table as CSV (UTF-8, a header row); - writes it to standard "
        "output, then the PDF must go to a file."}},
      {{0, "the report was written"},
       {2,
        "wrong arguments, a folder that cannot be read, or a file that cannot or may not be "
        "written"}},
      Run,
  };
  return definition;
}

std::string ReportTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char text[32];
  return std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) > 0 ? text : "";
}

CommandExit ReportToFiles(const ReportRequest& request, std::ostream& out, std::ostream& err) {
  if (const auto why = RefusalOfStreams(request)) {
    err << *why << "\n";
    return CommandExit::CannotRun;
  }
  std::vector<std::string> files;
  for (const std::string& path : {request.Pdf, request.Csv}) {
    if (!path.empty() && !ToStream(path)) files.push_back(path);
  }
  // A PDF written to a file leaves the project's text form in the project folder.
  if (!ToStream(request.Pdf)) files.push_back(ReportTextPathIn(request.Folder));
  if (const auto why = RefusalOfReportFiles(files, request.Folder, request.StartFolder)) {
    err << TerminalText(*why) << "\n";
    return CommandExit::CannotRun;
  }
  const auto project = OpenFolderProject(request.Folder, request.StartFolder, err);
  if (!project) return CommandExit::CannotRun;
  ReportOptions options;
  options.MadeAt = request.MadeAt;
  options.Program = "PWX36 Editor " + std::string(Program().Version);
  ProgressPrinter progress(err, request.Progress);
  options.Work = {progress.Callback(), request.Cancel};
  const CommissioningReport report = MakeCommissioningReport(*project, options);
  progress.Clear();
  if (Cancelled(request)) {
    err << "Interrupted: no report was written.\n";
    return CommandExit::Interrupted;
  }
  std::string why = "The PDF could not be laid out.";
  const std::optional<std::string> pdf =
      request.RenderPdf ? request.RenderPdf(CommissioningReportHtml(report), "Commissioning report",
                                            report.Program, why)
                        : std::nullopt;
  if (Cancelled(request)) {
    err << "Interrupted: no report was written.\n";
    return CommandExit::Interrupted;
  }
  if (!pdf || pdf->empty()) {
    err << TerminalText(CannotCreateText(request.Pdf, why)) << "\n";
    return CommandExit::CannotRun;
  }
  if (!WriteDocument(request.Pdf, *pdf, "PDF", report.ProjectFolder, out, err)) {
    return CommandExit::CannotRun;
  }
  if (!ToStream(request.Pdf) &&
      !WriteDocument(ReportTextPathIn(report.ProjectFolder), report.TextForm, "text form",
                     report.ProjectFolder, out, err)) {
    err << "The PDF " << TerminalText(request.Pdf) << " was written; its " << kReportTextFileName
        << " was not.\n";
    return CommandExit::CannotRun;
  }
  // Said where it does not mix with a document on standard output.
  std::ostream& said = ToStream(request.Csv) ? err : out;
  const bool named = !ToStream(request.Pdf);
  const std::string written = "Report written to " + TerminalText(request.Pdf) + "\n";
  if (!request.Csv.empty()) {
    if (Cancelled(request)) {
      if (named) said << written;
      err << "Interrupted: the alarm table was not written.\n";
      return CommandExit::Interrupted;
    }
    if (!WriteDocument(request.Csv, AlarmTableCsv(report), "alarm table", report.ProjectFolder, out,
                       err)) {
      if (named) err << "The PDF " << TerminalText(request.Pdf) << " was written; ";
      err << (named ? "the" : "The") << " alarm table was not.\n";
      return CommandExit::CannotRun;
    }
  }
  if (named) said << written;
  return CommandExit::Success;
}

}  // namespace pwx
