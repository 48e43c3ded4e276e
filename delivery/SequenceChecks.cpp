#include "delivery/SequenceChecks.h"

#include "common/IntegerText.h"
#include "delivery/InputSequence.h"

namespace pwx {

void CheckSequences(const ProjectSnapshot& project, const CheckOptions& options,
                    std::vector<Finding>& findings) {
  if (options.Work.Cancelled()) return;
  for (const InputSequence& sequence : SequencesOfMode(project)) {
    if (!sequence.Plays() || sequence.Silent()) continue;
    auto add = [&](const char* code, int clip, std::string message) {
      findings.push_back(Finding{
          Severity::Warning, code, clip, sequence.Input, sequence.Slot, 0, {}, std::move(message)});
    };
    if (options.MaxTriggerSeconds > 0 && sequence.Total > options.MaxTriggerSeconds) {
      add("trigger-long", 0,
          sequence.Input + " plays for " + SequenceSecondsText(sequence.Total) +
              " each time it fires, longer than the limit of " +
              SequenceSecondsText(options.MaxTriggerSeconds) +
              "; use shorter clips or a lower Repeat.");
    }
    if (sequence.AlarmOutput &&
        (!sequence.FirstSound || *sequence.FirstSound > kLatestFirstSoundSeconds)) {
      const int first = sequence.Segments.front().Clip;
      add("first-sound-late", first,
          sequence.FirstSound
              ? sequence.Input + " switches the alarm output, but its first sound comes " +
                    SequenceSecondsText(*sequence.FirstSound) + " after the trigger, later than " +
                    SequenceSecondsText(kLatestFirstSoundSeconds) +
                    "; cut the silence at the start of clip " + ThreeDigits(first) + "."
              : sequence.Input +
                    " switches the alarm output, but every clip it plays is silent (below -50 "
                    "dBFS); choose clips that can be heard.");
    }
  }
}

}  // namespace pwx
