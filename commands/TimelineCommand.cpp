#include <cmath>

#include "commands/CommandTable.h"
#include "commands/FolderProject.h"
#include "common/IntegerText.h"
#include "common/JsonValue.h"
#include "common/MessageText.h"
#include "delivery/InputSequence.h"

namespace pwx {

namespace {

std::int64_t Milliseconds(double seconds) {
  return static_cast<std::int64_t>(std::llround(seconds * 1000));
}

std::string Seconds2(double seconds) {
  return FormattedNumber("%.2f s", seconds);
}

JsonValue SequenceJson(const InputSequence& sequence) {
  JsonValue clips = JsonValue::Array();
  for (const int clip : sequence.Clips) clips.Append(clip);
  JsonValue problems = JsonValue::Array();
  for (const auto& problem : sequence.Problems) problems.Append(problem);
  JsonValue segments = JsonValue::Array();
  for (const SequenceSegment& s : sequence.Segments) {
    segments.Append(JsonValue::Object()
                        .Set("clip", s.Clip)
                        .Set("name", s.Name)
                        .Set("choice", s.Choice)
                        .Set("pass", s.Pass)
                        .Set("start_ms", Milliseconds(s.Start))
                        .Set("end_ms", Milliseconds(s.End))
                        .Set("silent", s.Silent)
                        .Set("sound_start_ms", Milliseconds(s.SoundStart))
                        .Set("sound_end_ms", Milliseconds(s.SoundEnd)));
  }
  return JsonValue::Object()
      .Set("input", sequence.Input)
      .Set("clips", std::move(clips))
      .Set("repeat", sequence.Repeat)
      .Set("alarm_output", sequence.AlarmOutput)
      .Set("plays", sequence.Plays())
      .Set("problems", std::move(problems))
      .Set("segments", std::move(segments))
      .Set("first_sound_ms",
           sequence.FirstSound ? JsonValue(Milliseconds(*sequence.FirstSound)) : JsonValue())
      .Set("total_ms", Milliseconds(sequence.Total));
}

void PrintSequence(const InputSequence& sequence, std::ostream& out) {
  out << sequence.Input << ": ";
  if (sequence.Silent()) {
    out << "no clip, silent when it fires\n";
    return;
  }
  out << "repeat " << sequence.Repeat << ", alarm output "
      << (sequence.AlarmOutput ? "switched" : "not switched") << "\n";
  for (const auto& problem : sequence.Problems)
    out << "  cannot play: " << TerminalText(problem) << "\n";
  if (!sequence.Plays()) return;
  for (const SequenceSegment& s : sequence.Segments) {
    out << "  " << Seconds2(s.Start) << " - " << Seconds2(s.End) << "  pass " << s.Pass << " #"
        << s.Choice << " " << ThreeDigits(s.Clip) << " " << TerminalText(s.Name);
    if (s.Silent) {
      out << " (silent)";
    } else if (s.SoundStart > s.Start + 0.05 || s.SoundEnd < s.End - 0.05) {
      out << " (sound " << Seconds2(s.SoundStart) << " - " << Seconds2(s.SoundEnd) << ")";
    }
    out << "\n";
  }
  out << "  " << SequenceSummaryText(sequence) << "\n";
}

CommandExit Run(const CommandInput& input, CommandContext& context) {
  const auto project = OpenFolderProject(input.Argument(0), context.StartFolder, context.Err);
  if (!project) return CommandExit::CannotRun;
  std::vector<InputSequence> sequences;
  if (input.Arguments.size() > 1) {
    const auto slot = InputSlotArgument(*project, input.Argument(1), context.Err);
    if (!slot) return CommandExit::CannotRun;
    ClipTimings timings(*project);
    sequences.push_back(SequenceOfInput(*project, *slot, timings));
  } else {
    sequences = SequencesOfMode(*project);
  }
  if (input.Has("json")) {
    JsonValue list = JsonValue::Array();
    for (const auto& sequence : sequences) list.Append(SequenceJson(sequence));
    context.Out << list.Text() << "\n";
  } else {
    for (const auto& sequence : sequences) PrintSequence(sequence, context.Out);
  }
  for (const auto& sequence : sequences) {
    if (!sequence.Plays()) return CommandExit::Failed;
  }
  return CommandExit::Success;
}

}  // namespace

const CommandDefinition& TimelineCommandDefinition() {
  static const CommandDefinition definition{
      "timeline",
      "Prints what an input plays when it fires, clip by clip, with times",
      "Prints the sequence the player plays when INPUT fires (or, without INPUT, each input "
      "of the current mode in turn), from what a save of the project in FOLDER writes: the "
      "clips #1 to #4 up to the first without a clip, one after the other with no gap, the "
      "whole list Repeat times, each with its start and end from the trigger (the clips' "
      "lengths without the encoder's delay and padding), when the first sound comes (the "
      "first sample above -50 dBFS) and the total. It assumes one input fires at a time. "
      "Changes no file.",
      {{"FOLDER", ValueKind::Folder, false, "The project folder: it holds plist.cfg or m3fn.txt."},
       {"INPUT", ValueKind::Text, true,
        "The input as the window names it: DI1 to DI4 in modes 0 to 3, bI1 to bI15 in modes 4 "
        "to 7."}},
      {{"json", 0, "", ValueKind::Text, false,
        "Prints a JSON array with an object per input: input, clips, repeat, alarm_output, "
        "plays, problems, segments (clip, name, choice, pass, start_ms, end_ms, silent, "
        "sound_start_ms, sound_end_ms), first_sound_ms (null when nothing is heard) and "
        "total_ms."}},
      {{0, "every sequence printed can be played"},
       {1, "a sequence cannot be played: a clip's copy is missing or unplayable"},
       {2, "wrong arguments, an input the mode lacks, or a folder that is no project folder"}},
      Run,
  };
  return definition;
}

}  // namespace pwx
