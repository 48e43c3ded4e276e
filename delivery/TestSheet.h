#pragma once

#include <string>
#include <vector>

#include "delivery/AcceptanceRecord.h"
#include "delivery/InputSequence.h"
#include "model/AudioLibrary.h"

namespace pwx {

// One line of the acceptance test sheet: what an input should play, and how its test stands.
struct TestSheetLine {
  int Slot = 0;
  std::string Input;        // the window's label: "DI1", "bI3 (0011b)"
  std::string Expected;     // "004 Fire, 001 Bell, 2 times", or "nothing"
  std::string Total;        // "5.6 s", or "cannot play" with the reasons
  std::string AlarmOutput;  // "switched" or "not switched"
  std::string State;        // "untested", "passed", "failed" or "void"
  std::string Time;         // when the result shown was recorded, also when void
  std::string Note;
};

// The clips of a sequence in play order with their names, and its repeat count: "004 Fire,
// 001 Bell" once, "004 Fire, 001 Bell, 2 times", "nothing" for an input without clips.
std::string ExpectedSequenceText(const InputSequence& sequence, const AudioLibrary& library);

// "untested", "passed", "failed", "void".
std::string TestStateName(TestState state);

// A line per input, in input order, from the inputs' sequences and their test results.
std::vector<TestSheetLine> TestSheetOf(const std::vector<InputSequence>& sequences,
                                       const std::vector<InputTestStatus>& statuses,
                                       const AudioLibrary& library);

}  // namespace pwx
