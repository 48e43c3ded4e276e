#include "delivery/TestSheet.h"

#include "common/IntegerText.h"

namespace pwx {

std::string ExpectedSequenceText(const InputSequence& sequence, const AudioLibrary& library) {
  if (sequence.Clips.empty()) return "nothing";
  std::string text;
  for (const int clip : sequence.Clips) {
    if (!text.empty()) text += ", ";
    text += ThreeDigits(clip);
    const std::string& name = library.Entry(clip).Short_FN;
    if (!name.empty()) text += " " + name;
  }
  if (sequence.Repeat != 1) text += ", " + std::to_string(sequence.Repeat) + " times";
  return text;
}

std::string TestStateName(TestState state) {
  switch (state) {
    case TestState::Passed:
      return "passed";
    case TestState::Failed:
      return "failed";
    case TestState::Void:
      return "void";
    case TestState::Untested:
      break;
  }
  return "untested";
}

std::vector<TestSheetLine> TestSheetOf(const std::vector<InputSequence>& sequences,
                                       const std::vector<InputTestStatus>& statuses,
                                       const AudioLibrary& library) {
  std::vector<TestSheetLine> lines;
  for (std::size_t k = 0; k < sequences.size(); ++k) {
    const InputSequence& sequence = sequences[k];
    TestSheetLine line;
    line.Slot = sequence.Slot;
    line.Input = sequence.Input;
    line.Expected = ExpectedSequenceText(sequence, library);
    if (sequence.Plays()) {
      line.Total = SequenceSecondsText(sequence.Total);
    } else {
      line.Total = "cannot play:";
      for (const std::string& problem : sequence.Problems) line.Total += " " + problem;
    }
    line.AlarmOutput = sequence.AlarmOutput ? "switched" : "not switched";
    line.State = "untested";
    if (k < statuses.size()) {
      const InputTestStatus& status = statuses[k];
      line.State = TestStateName(status.State);
      if (status.Test) {
        line.Time = status.Test->Time;
        line.Note = status.Test->Note;
      }
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace pwx
