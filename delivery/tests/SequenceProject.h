// A saved project whose inputs play clips with silence around their sound, for the tests of
// an input's sequence, its render and its acceptance record.
#pragma once

#include "delivery/InputSequence.h"
#include "delivery/tests/CheckedProject.h"

namespace pwx {

// Clip 1 a one-second tone; 4 has 0.5 s of silence before 1 s of tone and 0.3 s after it; 5
// starts after 3.5 s of silence; 6 is too quiet to be heard. DI1 plays 4 then 1 twice, DI2
// clip 6, DI3 clip 5, all three switching the alarm output; DI4 nothing.
class Sequences : public Checked {
 public:
  void SetUp() override {
    Checked::SetUp();
    SequenceClip(4, "lead-tail.mp3");
    SequenceClip(5, "late-start.mp3");
    SequenceClip(6, "quiet.mp3");
    plist = PlayListBytes()
                .Saved()
                .Slot(0, {4, 1}, 2, true)
                .Slot(1, {6}, 1, true)
                .Slot(2, {5}, 1, true);
    Open();
    editor->SpeedButton9Click();
  }
  static std::string Sequence(const std::string& fixture) {
    return std::string(PWX_SEQUENCE_FIXTURES) + "/" + fixture;
  }
  void SequenceClip(int number, const std::string& fixture) {
    const std::string from = Sequence(fixture);
    const std::string source = dir / ("src/" + std::to_string(number) + "-" + fixture);
    fs::copy_file(from, source, fs::copy_options::overwrite_existing);
    fs::copy_file(from, Copy(number), fs::copy_options::overwrite_existing);
    map.emplace_back(number, source);
  }
  InputSequence Of(int slot) {
    snapshot = editor->Snapshot();
    ClipTimings timings(snapshot);
    return SequenceOfInput(snapshot, slot, timings);
  }
  ProjectSnapshot snapshot;
};

}  // namespace pwx
