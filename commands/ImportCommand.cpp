#include "commands/ImportCommand.h"

#include <cstdio>

#include "audio/ClipFiles.h"
#include "audio/ClipIntake.h"
#include "commands/CommandPaths.h"
#include "commands/CommandTable.h"
#include "commands/FolderProject.h"
#include "commands/HeadlessHost.h"
#include "common/EditorError.h"
#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "project/Editor.h"

namespace pwx {

namespace {

// "copied", "converted", "levelled to -16.0 LUFS (...)", "converted, not levelled: silent".
std::string WhatWasDone(const IntakeResult& result) {
  const std::string levelling = LevellingText(result);
  switch (result.Levelling) {
    case LevelOutcome::NotAsked:
      return result.Reencoded ? "converted" : "copied";
    case LevelOutcome::Levelled:
    case LevelOutcome::AlreadyLevel:
      return levelling;
    default:
      return std::string(result.Reencoded ? "converted, " : "copied, ") + levelling;
  }
}

// ", -18.2 LUFS, true peak -0.8 dBTP" of the clip as written.
std::string MeasuredText(const std::string& copy) {
  const std::optional<ClipLoudness> measured = MeasureClipLoudness(copy);
  if (!measured) return {};
  std::string text = ", " + LoudnessText(measured->IntegratedLufs);
  if (measured->TruePeakDbtp) {
    char peak[48];
    std::snprintf(peak, sizeof peak, ", true peak %.1f dBTP", *measured->TruePeakDbtp);
    text += peak;
  }
  return text;
}

CommandExit Run(const CommandInput& input, CommandContext& context) {
  ImportRequest request;
  request.Folder = input.Argument(0);
  request.Number = StrToInt(input.Argument(1));  // a whole number, as the table has it
  request.File = AbsolutePath(input.Argument(2));
  request.Level = input.Has("level");
  request.Measure = input.Has("measure");
  request.StartFolder = context.StartFolder;
  request.Progress = ProgressPrinter::ModeFor(input.Has("quiet"), context.ErrIsTerminal);
  request.Cancel = context.Cancel;
  return ImportClipCommand(request, context.Out, context.Err);
}

}  // namespace

const CommandDefinition& ImportCommandDefinition() {
  static const CommandDefinition definition{
      "import",
      "Imports a sound file as a clip of a project",
      "Imports the sound FILE as clip NUMBER of the project in FOLDER, as the window's import "
      "does, and updates the name map m3fn.txt: an MP3 the player plays is copied byte for "
      "byte, any other sound (WAV, FLAC, Ogg, AIFF, another MPEG layer) converted into the "
      "MP3 the player wants. Prints one line of what was done and what the clip is, such as "
      "\"Imported /sounds/bell.mp3 as clip 004: copied, 0:02.5, 44100 Hz, stereo\", from the "
      "frame headers alone.",
      {{"FOLDER", ValueKind::Folder, false,
        "The project folder; it must exist, and may hold no file yet."},
       {"NUMBER", ValueKind::Number, false, "The clip's number, 1 to 64."},
       {"FILE", ValueKind::File, false, "The sound file to import."}},
      {{"level", 0, "", ValueKind::Text, false,
        "Brings the clip to -16 LUFS, its true peak held at -1 dBTP or below, and says how."},
       {"measure", 0, "", ValueKind::Text, false,
        "Measures the loudness and true peak of the clip as written."}},
      {{0, "the clip was imported"},
       {1,
        "the file was refused or could not be converted, or another program kept changing "
        "the folder"},
       {2, "wrong arguments, a clip number out of range, or a folder that cannot be read"}},
      Run,
  };
  return definition;
}

CommandExit ImportClipCommand(const ImportRequest& request, std::ostream& out, std::ostream& err) {
  if (request.Number < 1 || request.Number > kLibrarySize) {
    err << "The clip number must be from 1 to " << kLibrarySize << ".\n";
    return CommandExit::CannotRun;
  }
  ProgressPrinter progress(err, request.Progress);
  HeadlessHost host;
  host.Cancel = request.Cancel;
  host.Progress = progress.Callback();
  SilentPlayer player;
  Editor editor(host, player, request.StartFolder);
  editor.SetLevelImports(request.Level);
  editor.SetMeasureAfterImport(false);
  if (!OpenInHeadlessEditor(editor, host, request.Folder, err)) return CommandExit::CannotRun;
  const Outcome outcome = editor.ImportClip(request.Number, request.File);
  progress.Clear();
  if (!outcome.IsDone()) {
    if (outcome.IsCancelled() && request.Cancel && request.Cancel->load()) {
      err << "Interrupted: clip " << ThreeDigits(request.Number)
          << " was not imported; the project folder is as it was.\n";
      return CommandExit::Interrupted;
    }
    err << TerminalText(outcome.IsCancelled() ? kImportCancelled : outcome.Why()) << "\n";
    return CommandExit::Failed;
  }
  const IntakeResult& done = editor.LastImport();
  out << "Imported " << TerminalText(request.File) << " as clip " << ThreeDigits(request.Number)
      << ": " << WhatWasDone(done) << ", "
      << FormatText(done.Seconds, done.SampleRate, done.Channels);
  if (request.Measure && done.Levelling == LevelOutcome::NotAsked) {
    try {
      out << MeasuredText(ProjectCopyPath(editor.Dirs().Work_DIR, request.Number));
    } catch (const EditorError& error) {
      // The clip is imported all the same; what kept it from being measured is said.
      out << ", loudness not measured";
      err << TerminalText(error.what()) << "\n";
    }
  }
  out << "\n";
  return CommandExit::Success;
}

}  // namespace pwx
