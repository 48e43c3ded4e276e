#include "delivery/ImportCommand.h"

#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "delivery/HeadlessHost.h"
#include "project/Editor.h"

namespace pwx {

CommandExit ImportClipCommand(const ImportRequest& request, std::ostream& out, std::ostream& err) {
  if (request.Number < 1 || request.Number > kLibrarySize) {
    err << "The clip number must be from 1 to " << kLibrarySize << ".\n";
    return CommandExit::CannotRun;
  }
  HeadlessHost host;
  SilentPlayer player;
  Editor editor(host, player, request.StartFolder);
  editor.SetLevelImports(request.Level);
  const std::string folder =
      EndsWithSeparator(request.Folder) ? request.Folder : request.Folder + kPathSeparator;
  try {
    editor.OpenProjectFolder(folder);
  } catch (const EditorError& error) {
    err << error.what() << "\n";
    return CommandExit::CannotRun;
  }
  for (const auto& message : host.Messages) err << message << "\n";
  if (const auto failure = editor.ImportClip(request.Number, request.File)) {
    err << *failure << "\n";
    return CommandExit::Failed;
  }
  out << "Imported " << request.File << " as clip " << ThreeDigits(request.Number) << ": "
      << editor.ClipToolTip(request.Number) << "\n";
  return CommandExit::Success;
}

}  // namespace pwx
