#include "commands/CommandPaths.h"
#include "commands/CommandTable.h"
#include "commands/FolderProject.h"
#include "common/EditorError.h"
#include "common/MessageText.h"
#include "common/UtcTime.h"
#include "delivery/AcceptanceRecord.h"
#include "delivery/InputSequence.h"

namespace pwx {

namespace {

CommandExit Run(const CommandInput& input, CommandContext& context) {
  const std::string result = input.Argument(2);
  if (result != "passed" && result != "failed") {
    context.Err << "The result must be passed or failed, not \"" << TerminalText(result) << "\".\n";
    return CommandExit::CannotRun;
  }
  const auto project =
      OpenFolderProject(AbsolutePath(input.Argument(0)), context.StartFolder, context.Err);
  if (!project) return CommandExit::CannotRun;
  const auto slot = InputSlotArgument(*project, input.Argument(1), context.Err);
  if (!slot) return CommandExit::CannotRun;
  TestEntry entry;
  entry.Slot = *slot;
  entry.Result = result == "passed" ? TestResult::Passed : TestResult::Failed;
  entry.Note = input.Value("note");
  if (input.Has("witness")) entry.Witness = input.Value("witness");
  entry.Time = UtcTimeNow();
  try {
    const ProjectFingerprint fingerprint = FingerprintOf(*project);
    const AcceptanceRecord record = RecordTestResult(*project, entry, fingerprint);
    const auto statuses = TestStatusOf(record, *project, fingerprint);
    context.Out << "Recorded " << InputShortName(statuses[static_cast<std::size_t>(*slot)].Input)
                << " " << result << " at " << entry.Time << " in " << kAcceptanceFileName << ". "
                << TestedSummary(statuses) << ".\n";
  } catch (const EditorError& error) {
    context.Err << TerminalText(error.what()) << "\n";
    return CommandExit::CannotRun;
  }
  return CommandExit::Success;
}

}  // namespace

const CommandDefinition& AcceptCommandDefinition() {
  static const CommandDefinition definition{
      "accept",
      "Records an input's acceptance test result in the project's test record",
      "Records that INPUT of the project in FOLDER passed or failed its test on the real "
      "player, with the time, in the project's test record acceptance.json (JSON text, kept "
      "in the project folder and never copied to the card). The result is tied to what the "
      "input plays now (its clips and the SHA-256 of their copies, its repeat and alarm "
      "output, the mode): when any of that changes, the result is void and the input needs "
      "testing again; the results of other inputs stay.\n\n"
      "A record that is not JSON, names an input the mode lacks, or was made for other "
      "player files is never rewritten: the command says so and changes nothing.",
      {{"FOLDER", ValueKind::Folder, false, "The project folder: it holds plist.cfg or m3fn.txt."},
       {"INPUT", ValueKind::Text, false,
        "The input as the window names it: DI1 to DI4 in modes 0 to 3, bI1 to bI15 in modes 4 "
        "to 7."},
       {"RESULT", ValueKind::Text, false, "passed or failed."}},
      {{"note", 0, "TEXT", ValueKind::Text, false, "A note to keep with the result."},
       {"witness", 0, "NAME", ValueKind::Text, false,
        "The witness of the test, kept once for the whole record with today's date."}},
      {{0, "the result was recorded"},
       {2,
        "wrong arguments, an input the mode lacks, a folder that is no project folder, or "
        "a test record that cannot be used (it is left as it was)"}},
      Run,
  };
  return definition;
}

}  // namespace pwx
