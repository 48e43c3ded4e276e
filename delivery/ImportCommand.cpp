#include "delivery/ImportCommand.h"

#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "delivery/FolderProject.h"
#include "delivery/HeadlessHost.h"
#include "project/Editor.h"

namespace pwx {

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
  if (!OpenInHeadlessEditor(editor, host, request.Folder, err)) return CommandExit::CannotRun;
  if (const auto failure = editor.ImportClip(request.Number, request.File)) {
    if (*failure == kImportCancelled && request.Cancel && request.Cancel->load()) {
      err << "Interrupted: clip " << ThreeDigits(request.Number)
          << " was not imported; the project folder is as it was.\n";
      return CommandExit::Interrupted;
    }
    err << TerminalText(*failure) << "\n";
    return CommandExit::Failed;
  }
  out << "Imported " << TerminalText(request.File) << " as clip " << ThreeDigits(request.Number)
      << ": " << editor.ClipToolTip(request.Number) << "\n";
  return CommandExit::Success;
}

}  // namespace pwx
