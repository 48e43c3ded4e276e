#include <map>

#include "audio/ClipFiles.h"
#include "audio/ClipIntake.h"
#include "common/EditorError.h"
#include "common/IntegerText.h"
#include "project/Editor.h"

// The audio intake: what an import copies and what it converts, levelling to one loudness
// when the user asks for it, and what is known of each clip for the audio grid's tooltip.
namespace pwx {

namespace {

bool AtTheTarget(const IntakeResult& result) {
  return result.Levelling == LevelOutcome::Levelled ||
         result.Levelling == LevelOutcome::AlreadyLevel;
}

// Whether the loudness of the clip written is known from its import.
bool LoudnessKnown(const IntakeResult& result) {
  return result.LoudnessAfter || result.Levelling == LevelOutcome::Silent ||
         result.Levelling == LevelOutcome::TooShort;
}

}  // namespace

bool Editor::LevelImports() const {
  return levelImports_;
}

int MaxTriggerOfPreference(const std::string& text) {
  const auto seconds = TryParseInt32(text);
  return seconds && *seconds > 0 ? *seconds : kDefaultMaxTriggerSeconds;
}

void Editor::SetMaxTriggerSeconds(int seconds) {
  if (seconds <= 0) return;
  maxTriggerSeconds_ = seconds;
  host_.SetPreference(kMaxTriggerPreference, std::to_string(seconds));
}

void Editor::SetLevelImports(bool level) {
  levelImports_ = level;
  host_.SetPreference(kLevelImportsPreference, level ? "1" : "0");
}

bool Editor::ConvertsOnImport(const std::string& path) {
  if (LevelImports()) return true;
  if (scannedPath_ != path) {
    scannedPath_ = path;
    scannedMp3_ = PlayableMp3Facts(path);
  }
  return !scannedMp3_;
}

IntakeResult Editor::CopiedResult(const std::string& path) const {
  IntakeResult result;
  result.Reencoded = false;
  if (scannedMp3_ && scannedPath_ == path) {
    result.Seconds = scannedMp3_->Seconds();
    result.SampleRate = scannedMp3_->SampleRate;
    result.Channels = scannedMp3_->Channels;
    result.Bytes = scannedMp3_->Bytes;
  }
  return result;
}

std::optional<IntakeResult> Editor::ConvertIntoProject(int row, const std::string& path) {
  const std::string dest = ProjectCopyPath(dirs_.Work_DIR, row);
  IntakeResult result;
  const bool level = LevelImports();
  host_.RunLongWork("Converting " + ShortNameOf(path) + " into clip " + ThreeDigits(row),
                    [&](const WorkControl& control) {
                      IntakeOptions options;
                      options.Work = control;
                      options.Level = level;
                      result = ConvertClip(path, dest, options);
                    });
  if (result.Cancelled) return std::nullopt;
  log_.Append("Open FileLength => " + std::to_string(result.Bytes));
  return result;
}

void Editor::NoteImported(int row, const IntakeResult& result) {
  ForgetClipFacts(row);
  scannedPath_.clear();
  lastImport_ = result;
  ClipFactsKnown& known = clipFacts_[row];
  known.Facts = ClipLoudness{result.LoudnessAfter, result.TruePeakAfter, result.Seconds,
                             result.SampleRate, result.Channels};
  known.LoudnessKnown = LoudnessKnown(result);
  if (result.Levelling != LevelOutcome::NotAsked) {
    statusText_ = "Clip " + ThreeDigits(row) + " " + LevellingText(result);
  }
  if (!known.LoudnessKnown && measureAfterImport_) {
    measuring_.Start(row, ProjectCopyPath(dirs_.Work_DIR, row));
  }
}

std::string Editor::ClipToolTip(int row) const {
  const auto found = clipFacts_.find(row);
  if (found == clipFacts_.end() || !project_.Library.Entry(row).Occupied()) return {};
  const ClipLoudness& facts = found->second.Facts;
  const std::string format = FormatText(facts.Seconds, facts.SampleRate, facts.Channels);
  if (found->second.LoudnessKnown) return format + ", " + LoudnessText(facts.IntegratedLufs);
  const LoudnessMeasuring::Reading reading = measuring_.Of(row);
  switch (reading.Now) {
    case LoudnessMeasuring::State::Measuring:
      return format + ", measuring\u2026";
    case LoudnessMeasuring::State::Measured:
      return format + ", " + LoudnessText(reading.Loudness.IntegratedLufs);
    default:
      return format;
  }
}

void Editor::LevelAllClips() {
  std::vector<int> rows;
  for (int row = 1; row <= kLibrarySize; ++row) {
    if (project_.Library.Entry(row).Occupied()) rows.push_back(row);
  }
  if (rows.empty()) {
    host_.MessageBox("The project has no clips to level.", "Level All Clips");
    return;
  }
  const std::string question =
      "Level the " + std::to_string(rows.size()) +
      " clips of the project to -16 LUFS? Each copy in the project folder is encoded anew.";
  if (!host_.AskYesNo(question, "Level All Clips")) return;

  // What the work reads is taken here, on the editor's thread.
  struct Clip {
    int Row;
    std::string Label, Copy;
  };
  std::vector<Clip> clips;
  for (const int row : rows) {
    clips.push_back({row, ThreeDigits(row) + " " + project_.Library.Entry(row).Short_FN,
                     ProjectCopyPath(dirs_.Work_DIR, row)});
  }
  std::vector<std::string> lines;
  std::map<int, IntakeResult> written;  // filled beside the window, taken in afterwards
  std::size_t done = 0;
  bool cancelled = false;
  auto lock = LockProjectFolder();  // the copies are written anew
  host_.RunLongWork("Levelling the clips", [&](const WorkControl& control) {
    for (const Clip& clip : clips) {
      if (control.Cancelled()) break;
      std::string line = clip.Label + ": ";
      IntakeOptions options;
      options.Work = PartOf(control, done, clips.size());
      try {
        const IntakeResult result = LevelProjectCopy(clip.Copy, options);
        if (result.Cancelled) break;
        line += LevellingText(result);
        written[clip.Row] = result;
      } catch (const EditorError& error) {
        line += std::string("not levelled: ") + error.what();
      }
      lines.push_back(line);
      ++done;
    }
    cancelled = control.Cancelled();
  });
  lock.reset();
  std::size_t levelled = 0;
  for (const auto& [row, result] : written) {
    const IntakeResult last = lastImport_;
    NoteImported(row, result);
    lastImport_ = last;
    if (AtTheTarget(result)) ++levelled;
  }
  const std::string count = std::to_string(levelled) + " of " + std::to_string(rows.size());
  std::string text = cancelled ? "Levelling cancelled: " + count + " clips levelled.\n\n"
                               : "Levelled " + count + " clips.\n\n";
  for (const auto& line : lines) text += line + "\n";
  statusText_ = cancelled                 ? "Levelling cancelled"
                : levelled == rows.size() ? "Clips levelled to -16 LUFS"
                                          : "Levelled " + count + " clips to -16 LUFS";
  host_.MessageBox(text, "Level All Clips");
}

}  // namespace pwx
