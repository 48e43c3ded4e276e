#include <cstdio>
#include <map>

#include "audio/ClipFiles.h"
#include "audio/ClipIntake.h"
#include "common/EditorError.h"
#include "common/IntegerText.h"
#include "project/Editor.h"

// The audio intake: sources other than MP3 are converted into the project's MP3 copy, clips
// are levelled to one loudness when the user asks for it, and what is measured of each clip
// is kept for the audio grid's tooltip.
namespace pwx {

namespace {

std::string Lufs(const std::optional<double>& loudness) {
  if (!loudness) return "loudness not measurable (silent or under 0.4 s)";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f LUFS", *loudness);
  return text;
}

std::string ChannelsText(int channels) {
  return channels == 1 ? "mono" : channels == 2 ? "stereo" : std::to_string(channels) + " channels";
}

}  // namespace

bool Editor::LevelImports() const {
  return levelImports_;
}

void Editor::SetLevelImports(bool level) {
  levelImports_ = level;
  host_.SetPreference(kLevelImportsPreference, level ? "1" : "0");
}

bool Editor::ConvertsOnImport(const std::string& path) const {
  return !IsMp3FileName(path) || LevelImports();
}

std::optional<IntakeResult> Editor::ConvertIntoProject(int row, const std::string& path) {
  const std::string dest = ProjectCopyPath(dirs_.Work_DIR, row);
  IntakeResult result;
  const bool level = LevelImports();
  host_.RunLongWork("Converting " + ShortNameOf(path) + " into clip " + ThreeDigits(row),
                    [&](const Host::Progress& progress, const std::atomic<bool>& cancel) {
                      IntakeOptions options;
                      options.Level = level;
                      options.Progress = progress;
                      options.Cancel = &cancel;
                      result = ConvertClip(path, dest, options);
                    });
  if (result.Cancelled) return std::nullopt;
  log_.Append("Open FileLength => " + std::to_string(result.Bytes));
  return result;
}

void Editor::NoteMeasured(int row, const IntakeResult& result) {
  if (!result.LoudnessAfter) {
    MeasureClip(row);  // nothing was measured of the clip as written
    return;
  }
  measured_[row] = ClipLoudness{result.LoudnessAfter, result.TruePeakAfter, result.Seconds,
                                result.SampleRate, result.Channels};
}

void Editor::MeasureClip(int row) {
  measured_.erase(row);
  const std::string copy = ProjectCopyPath(dirs_.Work_DIR, row);
  std::optional<ClipLoudness> facts;
  try {
    host_.RunLongWork("Measuring the loudness of clip " + ThreeDigits(row),
                      [&](const Host::Progress&, const std::atomic<bool>& cancel) {
                        facts = MeasureClipLoudness(copy, &cancel);
                      });
  } catch (const EditorError&) {
    return;  // a copy that does not decode has no facts to show; the check names it
  }
  if (facts) measured_[row] = *facts;
}

std::string Editor::ClipToolTip(int row) const {
  const auto found = measured_.find(row);
  if (found == measured_.end() || !project_.Library.Entry(row).Occupied()) return {};
  const ClipLoudness& facts = found->second;
  return DurationText(facts.Seconds) + ", " + std::to_string(facts.SampleRate) + " Hz, " +
         ChannelsText(facts.Channels) + ", " + Lufs(facts.IntegratedLufs);
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
  std::map<int, IntakeResult> levelled;  // filled beside the window, taken in afterwards
  std::size_t done = 0;
  bool cancelled = false;
  auto lock = LockProjectFolder();  // the copies are written anew
  host_.RunLongWork(
      "Levelling the clips", [&](const Host::Progress& progress, const std::atomic<bool>& cancel) {
        for (const Clip& clip : clips) {
          if (cancel) break;
          std::string line = clip.Label + ": ";
          IntakeOptions options;
          options.Level = true;
          options.Cancel = &cancel;
          options.Progress = [&](double fraction) {
            progress((static_cast<double>(done) + fraction) / static_cast<double>(clips.size()));
          };
          try {
            const IntakeResult result = LevelProjectCopy(clip.Copy, options);
            if (result.Cancelled) break;
            line += Lufs(result.LoudnessBefore) + " -> " + Lufs(result.LoudnessAfter);
            if (!result.Reencoded) line += " (already at the level)";
            levelled[clip.Row] = result;
          } catch (const EditorError& error) {
            line += error.what();
          }
          lines.push_back(line);
          ++done;
        }
        cancelled = cancel;
      });
  lock.reset();
  for (const auto& [row, result] : levelled) NoteMeasured(row, result);
  const std::string count = std::to_string(levelled.size()) + " of " + std::to_string(rows.size());
  std::string text = cancelled ? "Levelling cancelled: " + count + " clips levelled.\n\n"
                               : "Levelled " + count + " clips.\n\n";
  for (const auto& line : lines) text += line + "\n";
  statusText_ = cancelled ? "Levelling cancelled" : "Clips levelled to -16 LUFS";
  host_.MessageBox(text, "Level All Clips");
}

}  // namespace pwx
