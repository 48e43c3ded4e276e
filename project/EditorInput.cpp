#include "audio/ClipFiles.h"
#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "project/Editor.h"

namespace pwx {

namespace {

std::string ClipLabel(int row, const AudioEntry& entry) {
  return ThreeDigits(row) + " \"" + entry.Short_FN + "\"";
}

}  // namespace

void Editor::PlayKey() {
  SpeedButton4Click();
}

void Editor::StopKey() {
  // The Stop button says "No MCI device open" when nothing was opened; a key pressed in
  // passing says nothing.
  if (playerOpen_) SpeedButton5Click();
}

void Editor::DeleteKey() {
  const int row = currentRow_;
  const AudioEntry& entry = project_.Library.Entry(row);
  if (!entry.Occupied()) return;
  // The project copy goes with the clip, so a key asks first, as the button does not.
  const std::string question = "Remove clip " + ClipLabel(row, entry) +
                               " from the project? Its copy " + ThreeDigits(row) +
                               ".mp3 is deleted.";
  if (host_.AskYesNo(question, "Remove Clip")) SpeedButton6Click();
}

void Editor::DropFiles(int row, const std::vector<std::string>& paths) {
  if (row < 1 || row > kLibrarySize || paths.empty()) return;
  currentRow_ = row;
  currentColumn_ = 1;
  std::vector<std::string> filled;
  std::vector<std::string> skipped;
  int next = row;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const std::string& path = paths[i];
    // The first file goes into the row it was dropped on, the others into the free rows
    // after it.
    if (i > 0) {
      while (next <= kLibrarySize && project_.Library.Entry(next).Occupied()) ++next;
    }
    Outcome outcome = next > kLibrarySize      ? Outcome::Refused("no free row")
                      : !IsSoundFileName(path) ? Outcome::Refused("not a sound file")
                                               : CheckClipSource(path);
    const AudioEntry& occupant = project_.Library.Entry(std::min(next, kLibrarySize));
    if (outcome.IsDone() && next <= kLibrarySize && occupant.Occupied() &&
        !host_.AskYesNo(ReplaceQuestion(next, path), "Replace Clip")) {
      outcome = Outcome::Refused("clip " + ThreeDigits(next) + " kept");
    }
    if (outcome.IsDone()) outcome = ImportInto(next, path);
    if (paths.size() == 1) {
      // One file is imported exactly as the double-click imports it, errors and all.
      ShowImportOutcome(outcome);
      return;
    }
    if (outcome.IsCancelled()) {
      // Cancel stops the whole drop: the files not yet imported are skipped.
      for (std::size_t rest = i; rest < paths.size(); ++rest) {
        skipped.push_back(FileNameOf(paths[rest]) + " (" + kImportCancelled + ")");
      }
      break;
    }
    if (outcome.IsRefused()) {
      skipped.push_back(FileNameOf(path) + " (" + outcome.Why() + ")");
    } else {
      filled.push_back(ThreeDigits(next));
      ++next;
    }
  }
  auto join = [](const std::vector<std::string>& items) {
    std::string text;
    for (const auto& item : items) text += (text.empty() ? "" : ", ") + item;
    return text;
  };
  statusText_ =
      "Dropped files imported into " + (filled.empty() ? "no row" : "rows " + join(filled));
  if (!skipped.empty()) statusText_ += "; skipped: " + join(skipped);
}

}  // namespace pwx
