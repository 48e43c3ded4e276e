#include "delivery/ReportTesting.h"

#include <algorithm>
#include <vector>

#include "common/EditorError.h"
#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "delivery/ReportText.h"
#include "delivery/TestSheet.h"

namespace pwx {

namespace {

std::string Seconds1(double seconds) {
  return FormattedNumber("%.1f", seconds);
}

// The test sheet's name of the state, spelt out where a reader of the report needs more.
std::string StateText(const InputTestStatus& status) {
  switch (status.State) {
    case TestState::Void:
      return "void (changed since its test)";
    case TestState::Untested:
      return "not tested";
    default:
      return TestStateName(status.State);
  }
}

// One cell of the strip, as wide as its share of the sequence.
struct StripCell {
  double Seconds = 0;
  const char* Colour = "";
};

// A segment's cells: its leading silence, its sound and its trailing silence, lighter than
// the sound. A silence narrower than a hundredth of the strip is left in the sound's cell.
std::vector<StripCell> CellsOf(const SequenceSegment& s, double total) {
  if (s.Silent) return {{s.Seconds(), "#dddddd"}};
  const bool odd = s.Pass % 2 == 1;
  const char* sound = odd ? "#b8cdee" : "#b8e2d2";
  const char* quiet = odd ? "#e3ebf8" : "#e3f3ec";
  const double lead = s.SoundStart - s.Start;
  const double tail = s.End - s.SoundEnd;
  const auto shown = [&](double seconds) { return seconds >= total / 100; };
  std::vector<StripCell> cells;
  if (shown(lead)) cells.push_back({lead, quiet});
  cells.push_back({s.Seconds() - (shown(lead) ? lead : 0) - (shown(tail) ? tail : 0), sound});
  if (shown(tail)) cells.push_back({tail, quiet});
  return cells;
}

// The segment's label for a cell of `percent` of the strip: its clip and start time where
// they fit on two lines, its clip alone where only that fits, else none.
std::string LabelOf(const SequenceSegment& s, int percent) {
  if (percent >= 7) return ThreeDigits(s.Clip) + "<br>" + Seconds1(s.Start) + " s";
  if (percent >= 4) return ThreeDigits(s.Clip);
  return "&nbsp;";
}

int PercentOf(double seconds, double total) {
  return std::max(1, static_cast<int>(100 * seconds / total));
}

std::string Strip(const InputSequence& sequence) {
  std::string html =
      "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"2\" "
      "style=\"border-collapse: collapse;\"><tr>";
  for (const SequenceSegment& s : sequence.Segments) {
    const std::vector<StripCell> cells = CellsOf(s, sequence.Total);
    // The label goes in the segment's widest cell.
    const auto widest = std::max_element(cells.begin(), cells.end(),
                                         [](auto& a, auto& b) { return a.Seconds < b.Seconds; });
    for (auto cell = cells.begin(); cell != cells.end(); ++cell) {
      const int percent = PercentOf(cell->Seconds, sequence.Total);
      html += "<td width=\"" + std::to_string(percent) + "%\" bgcolor=\"" + cell->Colour +
              "\"><small>" + (cell == widest ? LabelOf(s, percent) : std::string("&nbsp;")) +
              "</small></td>";
    }
  }
  return html + "</tr></table>";
}

}  // namespace

ReportTesting ReportTestingOf(const ProjectSnapshot& project) {
  ReportTesting testing;
  testing.Sequences = SequencesOfMode(project);
  const ProjectFingerprint fingerprint = FingerprintOf(project);
  std::optional<AcceptanceRecord> record;
  try {
    record = ReadAcceptanceRecord(project, fingerprint);
  } catch (const EditorError& error) {
    testing.RecordProblem = error.what();
  }
  testing.Recorded = record.has_value();
  if (record) {
    testing.Witness = record->Witness;
    testing.Date = record->Date;
  }
  testing.Tests = TestStatusOf(record, project, fingerprint);
  return testing;
}

std::string TestingSummaryHtml(const ReportTesting& testing) {
  std::string html = "<p><b>" + TestedSummary(testing.Tests) + "</b>";
  if (!testing.RecordProblem.empty()) {
    html += "<br>The test record cannot be used: " + HtmlEscaped(testing.RecordProblem);
  } else if (!testing.Recorded) {
    html += "<br>No acceptance test is recorded for this project.";
  } else if (!testing.Witness.empty()) {
    html += "<br>Witness: " + HtmlEscaped(testing.Witness) + ", " + HtmlEscaped(testing.Date);
  }
  return html + "</p>";
}

std::string TimelinesHtml(const ReportTesting& testing) {
  std::string html = "<h2>What each input plays</h2>";
  html +=
      "<p>Each input's clips play one after the other with no gap, the whole list Repeat "
      "times; one input fires at a time. Times are from the trigger; the lighter part of a "
      "clip is silence below -50 dBFS.</p>";
  for (std::size_t i = 0; i < testing.Sequences.size(); ++i) {
    const InputSequence& sequence = testing.Sequences[i];
    html += "<p><b>" + HtmlEscaped(sequence.Input) + "</b>: ";
    if (!sequence.Plays()) {
      html += "cannot play: " + HtmlEscaped(sequence.Problems.front());
    } else if (sequence.Silent()) {
      html += "no clip, silent when it fires";
    } else {
      html +=
          SequenceSummaryText(sequence) + (sequence.AlarmOutput ? ", alarm output switched" : "");
    }
    if (i < testing.Tests.size()) {
      const InputTestStatus& status = testing.Tests[i];
      html += "<br>Test: " + StateText(status);
      if (status.Test) {
        html += ", " + HtmlEscaped(status.Test->Time);
        if (!status.Test->Note.empty()) html += ", " + HtmlEscaped(status.Test->Note);
      }
    }
    html += "</p>";
    if (sequence.Plays() && !sequence.Segments.empty() && sequence.Total > 0) {
      html += Strip(sequence);
    }
  }
  return html;
}

std::string SignOffStateHtml(const ReportTesting& testing) {
  if (testing.Complete()) return "<p>Every input has a valid test result.</p>";
  return "<p><b>Incomplete: " +
         std::to_string(testing.Tests.size() -
                        static_cast<std::size_t>(ValidResults(testing.Tests))) +
         " of " + std::to_string(testing.Tests.size()) +
         " inputs have no valid test result.</b></p>";
}

std::string TestingCsvHeader() {
  return ",First sound (s),Total (s),Segment starts (s),Test result,Tested at,Note";
}

std::string TestingCsvFields(const ReportTesting& testing, std::size_t input) {
  std::string fields;
  if (input < testing.Sequences.size()) {
    const InputSequence& sequence = testing.Sequences[input];
    std::string starts;
    for (const SequenceSegment& s : sequence.Segments)
      starts += (starts.empty() ? "" : " ") + Seconds1(s.Start);
    const bool known = sequence.Plays() && !sequence.Silent();
    fields += "," + (known && sequence.FirstSound ? Seconds1(*sequence.FirstSound) : std::string());
    fields += "," + (known ? Seconds1(sequence.Total) : std::string());
    fields += "," + starts;
  } else {
    fields += ",,,";
  }
  if (input < testing.Tests.size()) {
    const InputTestStatus& status = testing.Tests[input];
    fields += "," + CsvField(StateText(status));
    fields += "," + (status.Test ? CsvField(status.Test->Time) : std::string());
    fields += "," + (status.Test ? CsvField(status.Test->Note) : std::string());
  } else {
    fields += ",,,";
  }
  return fields;
}

}  // namespace pwx
