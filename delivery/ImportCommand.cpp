#include "delivery/ImportCommand.h"

#include <cstdio>

#include "audio/ClipFiles.h"
#include "audio/ClipIntake.h"
#include "common/EditorError.h"
#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "delivery/FolderProject.h"
#include "delivery/HeadlessHost.h"
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

}  // namespace

CommandExit ImportClipCommand(const ImportRequest& request, std::ostream& out, std::ostream& err) {
  if (request.Number < 1 || request.Number > kLibrarySize) {
    err << "The clip number must be from 1 to " << kLibrarySize << ".\n";
    return CommandExit::CannotRun;
  }
  HeadlessHost host;
  host.Cancel = request.Cancel;
  SilentPlayer player;
  Editor editor(host, player, request.StartFolder);
  editor.SetLevelImports(request.Level);
  editor.SetMeasureAfterImport(false);
  if (!OpenInHeadlessEditor(editor, host, request.Folder, err)) return CommandExit::CannotRun;
  if (const Outcome outcome = editor.ImportClip(request.Number, request.File); !outcome.IsDone()) {
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
