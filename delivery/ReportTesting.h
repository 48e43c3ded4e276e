#pragma once

#include <string>
#include <vector>

#include "delivery/AcceptanceRecord.h"
#include "delivery/InputSequence.h"

namespace pwx {

// What a report says of each input's sequence and of the acceptance test.
struct ReportTesting {
  std::vector<InputSequence> Sequences;  // every input of the current mode, in order
  std::vector<InputTestStatus> Tests;    // the same inputs' results
  bool Recorded = false;                 // the project folder holds a test record it could read
  std::string RecordProblem;             // why the record there cannot be used
  std::string Witness;
  std::string Date;
  // Whether every input of the mode has a result that is not void.
  bool Complete() const {
    return !Tests.empty() && ValidResults(Tests) == static_cast<int>(Tests.size());
  }
};

// Times every input's sequence and reads the test record. Changes no file.
ReportTesting ReportTestingOf(const ProjectSnapshot& project);

// "Tested: 12 of 15 inputs", and the witness, or why the record cannot be used.
std::string TestingSummaryHtml(const ReportTesting& testing);
// Per input: the timeline as a strip of blocks with their start times, the first sound and
// the total, and its test result, time and note.
std::string TimelinesHtml(const ReportTesting& testing);
// Said above the sign-off lines while an input has no valid result.
std::string SignOffStateHtml(const ReportTesting& testing);

// The columns the alarm table's CSV gains: a header part and each input's fields (first
// sound, total, segment starts, result, time, note), each starting with a comma.
std::string TestingCsvHeader();
std::string TestingCsvFields(const ReportTesting& testing, std::size_t input);

}  // namespace pwx
