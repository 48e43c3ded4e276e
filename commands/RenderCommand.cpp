#include "commands/CommandPaths.h"
#include "commands/CommandTable.h"
#include "commands/FolderProject.h"
#include "commands/ProgressPrinter.h"
#include "common/EditorError.h"
#include "common/MessageText.h"
#include "delivery/ReportFiles.h"
#include "delivery/SequenceRender.h"

namespace pwx {

namespace {

CommandExit Run(const CommandInput& input, CommandContext& context) {
  const std::string folder = AbsolutePath(input.Argument(0));
  const auto project = OpenFolderProject(folder, context.StartFolder, context.Err);
  if (!project) return CommandExit::CannotRun;
  const auto slot = InputSlotArgument(*project, input.Argument(1), context.Err);
  if (!slot) return CommandExit::CannotRun;
  const std::string output = input.Value("output");
  // The sound never takes the place of one of the project's own files.
  if (auto refusal = RefusalOfReportFiles({output}, folder, context.StartFolder)) {
    context.Err << TerminalText(*refusal) << "\n";
    return CommandExit::CannotRun;
  }
  ClipTimings timings(*project);
  const InputSequence sequence = SequenceOfInput(*project, *slot, timings);
  if (!sequence.Plays()) {
    for (const auto& problem : sequence.Problems) {
      context.Err << "Cannot play " << sequence.Input << ": " << TerminalText(problem) << "\n";
    }
    return CommandExit::Failed;
  }
  if (sequence.Silent()) {
    context.Err << sequence.Input << " has no clip: there is nothing to render.\n";
    return CommandExit::Failed;
  }
  ProgressPrinter progress(context.Err,
                           ProgressPrinter::ModeFor(input.Has("quiet"), context.ErrIsTerminal));
  try {
    const RenderedSound sound =
        RenderSequence(*project, sequence, output, {progress.Callback(), context.Cancel});
    progress.Clear();
    context.Out << "Rendered " << sequence.Input << " to " << TerminalText(output) << ": "
                << SequenceSecondsText(sound.Seconds()) << ", " << sound.Format.Rate << " Hz, "
                << (sound.Format.Channels == 1 ? "mono" : "stereo")
                << (sound.Resampled ? " (clips of other rates resampled)" : "") << "\n";
  } catch (const EditorError& error) {
    progress.Clear();
    if (context.Cancel && context.Cancel->load()) {
      context.Err << "Interrupted: " << TerminalText(output) << " was not written.\n";
      return CommandExit::Interrupted;
    }
    context.Err << TerminalText(error.what()) << "\n";
    return CommandExit::Failed;
  }
  return CommandExit::Success;
}

}  // namespace

const CommandDefinition& RenderCommandDefinition() {
  static const CommandDefinition definition{
      "render",
      "Writes what an input plays when it fires as one WAV file",
      "Writes the whole sequence INPUT plays when it fires, as the timeline command shows "
      "it, into one WAV file of 32-bit float samples: each clip's copy in the project in "
      "FOLDER decoded by the program's decoder without the encoder's delay and padding, one "
      "after the other with no gap, Repeat times. The sound has the first clip's rate and "
      "the most channels of its clips (a mono clip plays on both channels, a clip of another "
      "rate is resampled). The file is written whole or not at all; it never takes the place "
      "of one of the project's own files.",
      {{"FOLDER", ValueKind::Folder, false, "The project folder: it holds plist.cfg or m3fn.txt."},
       {"INPUT", ValueKind::Text, false,
        "The input as the window names it: DI1 to DI4 in modes 0 to 3, bI1 to bI15 in modes 4 "
        "to 7."}},
      {{"output", 'o', "FILE.wav", ValueKind::File, true, "The WAV file to write."}},
      {{0, "the file was written"},
       {1,
        "the input cannot be played (a clip's copy is missing or unplayable), plays "
        "nothing, or the file could not be written"},
       {2,
        "wrong arguments, an input the mode lacks, a folder that is no project folder, or "
        "an output that is one of the project's files"}},
      Run,
  };
  return definition;
}

}  // namespace pwx
