#include "delivery/ReportHtml.h"

#include <cstdio>

#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "delivery/ReportText.h"

namespace pwx {

namespace {

std::string Cell(const std::string& html, const char* attributes = "") {
  std::string cell = "<td";
  cell += attributes;
  cell += ">";
  cell += html;
  cell += "</td>";
  return cell;
}

// A header row; a column's share of the width (a percentage) follows its name, 0 for none.
std::string HeaderRow(std::initializer_list<std::pair<const char*, int>> columns) {
  std::string row = "<tr>";
  for (const auto& [name, width] : columns) {
    row += "<th align=\"left\"";
    if (width > 0) row += " width=\"" + std::to_string(width) + "%\"";
    row += ">";
    row += name;
    row += "</th>";
  }
  return row + "</tr>";
}

std::string Heading(const char* text) {
  std::string html = "<h2>";
  html += text;
  html += "</h2>";
  return html;
}

std::string Settings(const CommissioningReport& report) {
  std::string html = Heading("Player settings");
  html += kReportTable;
  const std::pair<const char*, std::string> rows[] = {
      {"Device ID", report.DeviceId},
      {"Baud rate", report.BaudRate},
      {"Parity", report.Parity},
      {"Data bits", report.DataBits},
      {"Stop bits", report.StopBits},
      {"rtu.cfg line", report.RtuLine},
      {"Volume", std::to_string(report.Volume)},
  };
  for (const auto& [name, value] : rows) {
    html += "<tr>" + Cell(name, " width=\"25%\"") + Cell(HtmlEscaped(value)) + "</tr>";
  }
  return html + "</table>";
}

std::string AlarmTable(const CommissioningReport& report) {
  std::string html = Heading("Alarm configuration");
  html += "<p>Mode: " + HtmlEscaped(report.Mode) + "</p>";
  html += kReportTable;
  html += HeaderRow({{"Input", 14},
                     {"Clips in play order", 50},
                     {"Repeat", 10},
                     {"Alarm output", 12},
                     {"One trigger", 14}});
  for (const ReportInput& input : report.Inputs) {
    std::string clips;
    for (const auto& clip : input.Clips) clips += (clips.empty() ? "" : "<br>") + HtmlEscaped(clip);
    html += "<tr>" + Cell(HtmlEscaped(input.Input)) + Cell(input.Silent() ? "silent" : clips) +
            Cell(std::to_string(input.Repeat)) + Cell(input.AlarmOutput ? "yes" : "no") +
            Cell(input.Silent()         ? ""
                 : input.TriggerSeconds ? DurationText(*input.TriggerSeconds)
                                        : "unknown") +
            "</tr>";
  }
  return html + "</table>";
}

std::string Sha(const std::string& hex) {
  return "<span style=\"font-family: monospace; font-size: 6.5pt;\">" + hex + "</span>";
}

std::string ClipList(const CommissioningReport& report) {
  std::string html = Heading("Clips");
  if (report.Clips.empty()) return html + "<p>The project has no clips.</p>";
  html += kReportTable;
  html += HeaderRow({{"Clip", 6},
                     {"Name, source and SHA-256 of the copy", 60},
                     {"Length", 10},
                     {"Format", 11},
                     {"Bytes", 13}});
  for (const ReportClip& clip : report.Clips) {
    std::string about = HtmlEscaped(clip.Name) + "<br>Source: " + HtmlEscaped(clip.Source) + "<br>";
    const std::string copy = "<b>Copy " + ThreeDigits(clip.Number) + ".mp3 ";
    about += clip.Missing  ? copy + "missing</b>"
             : clip.Unread ? copy + "too large to read</b>"
                           : "SHA-256 " + Sha(clip.Sha256);
    html += "<tr>" + Cell(ThreeDigits(clip.Number)) + Cell(about);
    if (clip.Missing) {
      html += Cell("", " colspan=\"3\"");
    } else if (clip.Unread) {
      html += Cell("", " colspan=\"2\"") + Cell(GroupedDigits(clip.Bytes), " align=\"right\"");
    } else {
      char format[48];
      std::snprintf(format, sizeof format, "%ld Hz<br>%s", clip.SampleRate,
                    clip.Channels == 1   ? "mono"
                    : clip.Channels == 2 ? "stereo"
                                         : "?");
      html += Cell(DurationText(clip.Seconds)) + Cell(format) +
              Cell(GroupedDigits(clip.Bytes), " align=\"right\"");
    }
    html += "</tr>";
  }
  return html + "</table>";
}

std::string FileList(const CommissioningReport& report) {
  std::string html = Heading("Settings files as saved");
  html += kReportTable;
  html += HeaderRow({{"File", 20}, {"Bytes", 15}, {"SHA-256", 65}});
  for (const ReportFile& file : report.Files) {
    html += "<tr>" + Cell(file.Name);
    if (file.Written) {
      html += Cell(GroupedDigits(file.Bytes), " align=\"right\"") + Cell(Sha(file.Sha256));
    } else {
      html += Cell("not written", " colspan=\"2\"");
    }
    html += "</tr>";
  }
  return html + "</table>";
}

std::string CheckResult(const CommissioningReport& report) {
  std::string html = Heading("Project check");
  std::string problems, notes;
  for (const Finding& finding : report.Findings) {
    if (finding.Code == "copy-format") continue;  // the clip list gives the format
    std::string line = "<li><b>" + SeverityName(finding.Level) + "</b> " +
                       HtmlEscaped(finding.Where()) + ": " + HtmlEscaped(finding.Message) + "</li>";
    (finding.Level == Severity::Info ? notes : problems) += line;
  }
  html += NoProblems(report.Findings) ? "<p>No problems found</p>" : "<ul>" + problems + "</ul>";
  if (!notes.empty()) html += "<p>Notes:</p><ul>" + notes + "</ul>";
  return html;
}

// What changed since the last report, a line each, when the project folder holds its text form.
std::string ChangesSinceLastReport(const CommissioningReport& report) {
  if (!report.Changes) return {};
  std::string html = Heading("Changes since the last report");
  if (!report.Changes->Trouble.empty()) {
    return html + "<p>" + HtmlEscaped(report.Changes->Trouble) + "</p>";
  }
  if (report.Changes->Lines.empty()) return html + "<p>No changes</p>";
  html += "<ul>";
  for (const std::string& line : report.Changes->Lines)
    html += "<li>" + HtmlEscaped(line) + "</li>";
  return html + "</ul>";
}

std::string SignOff(const ReportTesting& testing) {
  std::string html = Heading("Sign-off");
  html += SignOffStateHtml(testing);
  html += "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"10\">";
  for (const char* name : {"Commissioned by", "Date", "Signature"}) {
    html += "<tr>" + Cell(name, " width=\"25%\"") +
            Cell("&nbsp;", " style=\"border-bottom: 1px solid black;\"") + "</tr>";
  }
  return html + "</table>";
}

}  // namespace

std::string CommissioningReportHtml(const CommissioningReport& report) {
  std::string html = "<html><body>";
  html += "<h1>Commissioning report</h1>";
  if (report.Unsaved) {
    html +=
        "<p><b>The project has unsaved changes: this report shows what the next save "
        "writes, not the files in the project folder.</b></p>";
  }
  html += "<p>Project folder: " + HtmlEscaped(report.ProjectFolder) +
          "<br>Made: " + HtmlEscaped(report.MadeAt) + "<br>By: " + HtmlEscaped(report.Program) +
          "</p>";
  html += TestingSummaryHtml(report.Testing);
  html += ChangesSinceLastReport(report);
  html += Settings(report);
  html += AlarmTable(report);
  html += TimelinesHtml(report.Testing);
  html += ClipList(report);
  html += FileList(report);
  html += CheckResult(report);
  html += SignOff(report.Testing);
  return html + "</body></html>";
}

}  // namespace pwx
