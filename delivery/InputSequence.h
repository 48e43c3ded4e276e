#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audio/ClipTiming.h"
#include "project/ProjectSnapshot.h"

namespace pwx {

// One clip of an input's sequence, in one of its passes.
struct SequenceSegment {
  int Clip = 0;
  std::string Name;  // the clip's Short_FN
  int Choice = 1;    // "#1".."#4"
  int Pass = 1;      // 1..Repeat
  double Start = 0;  // seconds from the trigger
  double End = 0;
  bool Silent = false;    // nothing in it reaches -50 dBFS
  double SoundStart = 0;  // where its sound starts and ends; Start and End when silent
  double SoundEnd = 0;
  double Seconds() const { return End - Start; }
};

// What the player does when one input fires, as a save stores it: the clips #1..#4 up to
// the first without a clip, played one after the other with no gap, the whole list Repeat
// times, while no other input fires.
struct InputSequence {
  std::string Input;  // as the window labels it: "DI1", "bI3 (0011b)"
  int Slot = 0;
  std::vector<int> Clips;  // in play order
  int Repeat = 1;
  bool AlarmOutput = false;
  std::vector<SequenceSegment> Segments;
  std::optional<double> FirstSound;  // seconds from the trigger to the first audible sample
  double Total = 0;                  // seconds of the whole sequence
  // Why it cannot be played or timed, in the check's words; empty when it can.
  std::vector<std::string> Problems;

  bool Plays() const { return Problems.empty(); }
  bool Silent() const { return Clips.empty(); }
};

// The timing of each clip's project copy, read once however many inputs play it.
class ClipTimings {
 public:
  explicit ClipTimings(const ProjectSnapshot& project) : project_(project) {}
  struct Result {
    std::optional<ClipTiming> Timing;
    std::vector<std::string> Problems;  // in the check's words, when it has no timing
  };
  const Result& Of(int clip);

 private:
  const ProjectSnapshot& project_;
  ClipTimer timer_;
  std::map<int, Result> known_;
};

// The sequence of the input in `slot` of the current mode.
InputSequence SequenceOfInput(const ProjectSnapshot& project, int slot, ClipTimings& timings);

// The sequences of every input of the current mode, in input order.
std::vector<InputSequence> SequencesOfMode(const ProjectSnapshot& project);

// The short name of an input label: "DI1", or "bI3" of "bI3 (0011b)".
std::string InputShortName(const std::string& label);

// The slot of the input of `mode` named by its label or short name, in any letter case;
// none when the mode has no such input.
std::optional<int> InputSlotNamed(std::uint8_t mode, std::string_view name);

// "Input \"X\" is not an input of mode 5; it has bI1 to bI15."
std::string UnknownInputText(std::uint8_t mode, std::string_view name);

// Seconds as the timeline shows them: "0.8 s", "12.4 s", "1 min 5.0 s".
std::string SequenceSecondsText(double seconds);

// "first sound at 0.8 s, total 12.4 s"; "first sound at never" when nothing is audible.
std::string SequenceSummaryText(const InputSequence& sequence);

}  // namespace pwx
