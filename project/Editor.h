#pragma once

#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/AudioPlayer.h"
#include "audio/ClipIntake.h"
#include "audio/LoudnessMeasuring.h"
#include "common/DiagnosticLog.h"
#include "common/EditorError.h"
#include "common/FolderLock.h"
#include "common/Outcome.h"
#include "devicefiles/PlayListFile.h"
#include "devicefiles/RtuVolumeFiles.h"
#include "model/AlarmProject.h"
#include "model/ModeView.h"
#include "project/EditHistory.h"
#include "project/Host.h"
#include "project/ProjectFolder.h"
#include "project/ProjectSnapshot.h"
#include "project/RecentProjects.h"

namespace pwx {

inline constexpr const char* kWindowTitle = "PWX36 Editor V1.00 (20200103)";
inline constexpr const char* kSaveBeforeClosingQuestion =
    "Save changes to the project before closing?";
inline constexpr const char* kSaveBeforeLoadingQuestion =
    "Save changes to the project before loading another project?";
inline constexpr const char* kSaveBeforeCopyingQuestion =
    "Save changes to the project before copying it to the card? Without saving, the card gets "
    "the project as it was last saved.";
inline constexpr const char* kImportFolderPreference = "import/folder";
// "1" when imported clips are levelled to one loudness.
inline constexpr const char* kLevelImportsPreference = "import/level";
// The seconds of one trigger beyond which the check warns of an input, as whole seconds.
inline constexpr const char* kMaxTriggerPreference = "check/maxTrigger";
inline constexpr int kDefaultMaxTriggerSeconds = 600;
// The limit a preference's text gives: a whole number of seconds above 0, or the default.
int MaxTriggerOfPreference(const std::string& text);
// What the empty audio grid says.
inline constexpr const char* kImportHint =
    "Double-click a row, press Enter or drop sound files here to import a clip";
// What the status line says when the user cancelled an import's conversion.
inline constexpr const char* kImportCancelled = "Import cancelled";

// The folder texts of a running editor. Work_DIR ends with the platform separator, or is
// empty so that project file names are used bare.
struct Folders {
  std::string Currentdir;
  std::string Work_DIR;
  std::string Temp_DIR;
  std::string Last_Work_DIR;
};

// Enabled and checked states of the window's buttons that the flows switch.
struct ControlStates {
  bool PlaySourceEnabled = true;
  bool PlayProjectEnabled = true;
  bool PlaySource = true;  // "Play Source" selected, else "Play Project"
  bool LoadProjectEnabled = true;
  bool SaveProjectEnabled = true;
  bool ChannelTestEnabled = false;
  bool StopTestEnabled = false;
};

// One editor per window: it owns the live project and everything around it, and runs every
// user action against the platform ports. The window only forwards events and shows the
// state again after each one.
class Editor {
 public:
  // Window creation: takes `currentDir` as the start folder and derives the default work
  // folder and the temp folder from it.
  Editor(Host& host, AudioPlayer& player, std::string currentDir);

  // Runs one user action. An error it raises is shown in an error box and the editor stays
  // usable; returns false in that case.
  template <class Action>
  bool Handle(Action&& action) {
    try {
      action();
      return true;
    } catch (const std::exception& error) {
      host_.ErrorBox(error.what());
      return false;
    }
  }

  // --- Start-up -------------------------------------------------------------------------
  void FormActivate();  // the start-up once, then nothing but the volume label
  // A project folder that the start-up opens in place of the one PRJ.cfg names (the program
  // was started on it); PRJ.cfg is left as it is.
  void SetProjectToOpen(std::string folder) { projectToOpen_ = std::move(folder); }
  void ResetEditorState();
  void LoadProjectFiles();

  // --- Edits from the window's controls ---------------------------------------------------
  void ComboBox1Change(const std::string& modeText);  // raises on a non-integer text
  void TrackBar1Change(int position);
  void SetClip(int slot, int index, const std::string& text);  // clip-choice rule applies
  void SetRepeat(int slot, const std::string& text);
  void SetAlarmOutput(int slot, bool ticked);
  void SetDeviceId(const std::string& text);
  void SetBaudRate(const std::string& text);
  void SetParity(const std::string& text);
  void SetDataBits(const std::string& text);
  void SetStopBits(const std::string& text);
  void SetPlaySource(bool playSource);

  // --- Undo and redo of the edits above -------------------------------------------------
  // The edit of a text field (or a drag of the slider) has ended: the next edit of that
  // field is a step of its own.
  void EndEdit() { history_.EndStep(); }
  void Undo();
  void Redo();
  const EditHistory& History() const { return history_; }

  // --- Audio library ----------------------------------------------------------------------
  void StringGrid1Click(int row, int column);  // selection only
  void StringGrid1DblClick();                  // import into the current row
  // The "Import..." button and Enter: imports into the current row, asking before it
  // replaces a clip the row holds.
  void ImportIntoCurrentRow();
  // What the audio grid shows while the library is empty (kImportHint), else nothing.
  std::string GridHint() const;
  void SpeedButton6Click();     // remove the current row's clip
  std::string SelectMp3File();  // path, or "0" with LastError set

  // --- Audio intake ------------------------------------------------------------------------
  // Whether imports level each clip to -16 LUFS (a preference kept between runs).
  bool LevelImports() const;
  void SetLevelImports(bool level);
  // The check's limit on one trigger of an input, in seconds (a preference kept between runs).
  int MaxTriggerSeconds() const { return maxTriggerSeconds_; }
  void SetMaxTriggerSeconds(int seconds);
  // Levels the copy of every clip to -16 LUFS after asking, and says per clip the loudness
  // before and after.
  void LevelAllClips();
  // "0:12.3, 44100 Hz, mono, -16.0 LUFS": what is known of a clip since its import or
  // levelling, for the audio grid; "measuring…" in place of the loudness while it is measured
  // beside the window; empty when nothing is known.
  std::string ClipToolTip(int row) const;
  // What the last import did.
  const IntakeResult& LastImport() const { return lastImport_; }
  // Whether an import measures the loudness of the clip afterwards, beside the window (on by
  // default; a command that ends after its import has no use for it).
  void SetMeasureAfterImport(bool measure) { measureAfterImport_ = measure; }
  // Called on the measuring thread each time a clip's loudness is measured; the window shows
  // the grid again.
  void SetMeasuredListener(std::function<void()> measured) {
    measuring_.SetListener(std::move(measured));
  }
  // Waits for the measures under way beside the window.
  void WaitForMeasures() { measuring_.WaitUntilIdle(); }
  // Imports a file into clip `number` as the window's import does: done, cancelled (its
  // conversion), or refused with the reason.
  Outcome ImportClip(int number, const std::string& path) {
    Outcome allowed = CheckClipSource(path);
    return allowed.IsDone() ? ImportInto(number, path) : allowed;
  }

  // Names the source of clip `number` as its line of the name map, without copying anything:
  // for a copy that the project folder holds already (or, as a text form says, lacks). The
  // selectors then offer the clip; the next save writes the line.
  void NameClipSource(int number, const std::string& source);
  // Takes the play-list bytes that no control edits from `from`, for the next save to carry.
  void TakeUnnamedPlayListBytes(const PlayListImage& from) { CopyUnnamedBytes(image_, from); }

  // --- Playback and the hidden channel test ----------------------------------------------
  void SpeedButton4Click();  // play the current row's clip
  void SpeedButton5Click();  // stop
  void SpeedButton3Click();  // channel test: no effect here (the window plays the test)
  // The input chosen in the test-input selector, by its place among the choices.
  void ComboBox74Change(int index);
  void SpeedButton8Click();  // stop test

  // --- Keys of the audio grid and files dropped on it --------------------------------------
  void PlayKey();    // Space: plays the current row's clip
  void StopKey();    // Escape: stops what plays; nothing when nothing is open
  void DeleteKey();  // Delete: removes the current row's clip after asking
  // Imports the files into the row and, the second file on, into the free rows after it.
  void DropFiles(int row, const std::vector<std::string>& paths);

  // --- A project without a window ------------------------------------------------------
  // Opens a project folder as ReadProjectFolder reads one (name map, play list, vol.cfg,
  // rtu.cfg), without PRJ.cfg and without creating or writing anything. Raises "Project
  // folder not found: <path>" when there is no such folder, and the errors of the files.
  void OpenProjectFolder(const std::string& folder);
  // What the work after editing reads of the project now.
  ProjectSnapshot Snapshot() const;

  // --- Unsaved edits --------------------------------------------------------------------
  // What a save would write now, computed by the saving code.
  SavedFiles FilesASaveWrites() const;
  // Whether that differs from what a save would have written right after the last load or
  // save: an edit undone by hand is no change.
  bool HasUnsavedChanges() const;
  // The window's title, marked with "*" while something is unsaved.
  std::string WindowTitle() const;
  // Closing the window: asks first when something is unsaved; true when it may close (the
  // player is then closed).
  bool CloseWindow();
  // Copying to a card takes the files on disk: asks first when something is unsaved. Save
  // saves, Discard copies what was saved last (the edits stay in the window), Cancel stops;
  // true to go on.
  bool ReadyToCopy();

  // --- Project commands -------------------------------------------------------------------
  void SpeedButton7Click();  // Load Project
  // Load Project without its dialog, on a folder opened before; raises "Project folder not
  // found: ..." when it is gone.
  void LoadRecentProject(const std::string& folder);
  // The project folders opened last, the newest first, each with whether it is there.
  std::vector<RecentProject> RecentProjects();
  void SpeedButton9Click();  // Save Project
  void SpeedButton1Click();  // Open Folder

  // How long a change to the project folder waits for another program's change to end
  // before it is refused.
  void SetFolderLockWait(std::chrono::milliseconds wait) { folderLockWait_ = wait; }

  // --- Operations shared by the flows -----------------------------------------------------
  void RefreshClipSelectors();
  void ApplyPlayList();

  // --- State for the view -----------------------------------------------------------------
  const AlarmProject& Project() const { return project_; }
  const std::vector<std::string>& ClipChoices() const { return clipChoices_; }
  // Grows whenever the clip choices change, so the window rebuilds its selectors only then.
  unsigned ClipChoicesVersion() const { return clipChoicesVersion_; }
  const ModeView& View() const { return view_; }
  const PlayListImage& Image() const { return image_; }
  const DiagnosticLog& Log() const { return log_; }
  const std::string& StatusText() const { return statusText_; }
  // Shows the outcome of work done beside the editor (a check, say) in the status line.
  void SetStatusText(std::string text) { statusText_ = std::move(text); }
  // An action goes ahead: what the status line said of an earlier one is said no more.
  void BeginAction();
  // Whether the status line says something that holds only for a few seconds ("Saved: ..."),
  // and its end.
  bool StatusExpires() const { return !statusText_.empty() && statusText_ == passingStatus_; }
  void ExpireStatus();
  const Folders& Dirs() const { return dirs_; }
  const std::string& ProjectDirLabel() const { return projectDirLabel_; }      // Label115
  std::string VolumeLabel() const { return std::to_string(project_.Volume); }  // Label112
  const ControlStates& Controls() const { return controls_; }
  bool StartupDone() const { return startupDone_; }
  const std::string& LastError() const { return lastError_; }
  int CurrentRow() const { return currentRow_; }
  int CurrentColumn() const { return currentColumn_; }
  // The text of an audio grid cell: the header row, the numbers and the clip names.
  std::string GridCell(int row, int column) const;

 private:
  std::string DefaultWorkDir() const;
  // Work_DIR, or the folder that bare file names resolve against when it is empty.
  std::string ProjectFolderText() const;
  void OpenChosenProject(const std::string& folder);
  void RememberRecentProject(const std::string& folder);
  void RunStartupStep(void (Editor::*step)());
  void StartupFolders();
  void StartupProjectPointer();
  void StartupVolume();
  void StartupTempFolder();
  void StartupRtu();
  void ReadProjectSettings();
  void TakeAlarmEditsIntoImage();
  // Notes an edit of a field in the undo history (not while an undo or redo replays one).
  void NoteEdit(EditedField field, int slot, int index, std::string before, std::string after);
  // What the user calls an input row in the current mode: "DI2", "bI12".
  std::string InputName(int slot) const;
  // Sets a field to a value that the history holds for it.
  void ReplayEdit(const FieldEdit& step, const std::string& value);
  // Locks the project folder for a change and removes what killed runs left in it; nothing
  // to lock when the folder does not exist (the change then fails on its files). Raises
  // FolderBusyText when another program keeps the lock.
  std::unique_ptr<FolderLock> LockProjectFolder();
  // Takes the lines of m3fn.txt that another program changed since this editor read or wrote
  // it into the library, all but clip `own` (0: none), keeping the window's alarm edits, and
  // says so in the status line. Call it under the folder's lock.
  void TakeOtherProgramsClips(int own);
  // Writes m3fn.txt from the library and remembers it as what the disk holds.
  void WriteNameMap();
  // Shows how an import ended that was not done: its refusal in an error box, its cancel in
  // the status line.
  void ShowImportOutcome(const Outcome& outcome);
  // Whether the file may be imported: refused for a path the name map cannot hold, or a
  // file that is copied as it is and cannot be (see CheckClipSize).
  Outcome CheckClipSource(const std::string& path);
  Outcome ImportInto(int row, const std::string& path);
  // "Replace clip 003 "Fire alarm" with "bell.wav"?"
  std::string ReplaceQuestion(int row, const std::string& path) const;
  void RememberImportFolder(const std::string& path);
  // Whether an import converts the file instead of copying it: any source but an MP3 the
  // player plays (known by its bytes, whatever its name), and every source when levelling.
  // Remembers the facts of the MP3 for its copy.
  bool ConvertsOnImport(const std::string& path);
  // Converts a source into the project copy of `row`; what it wrote, or nothing when the
  // user cancelled.
  std::optional<IntakeResult> ConvertIntoProject(int row, const std::string& path);
  // What the copy of an MP3 found by ConvertsOnImport wrote.
  IntakeResult CopiedResult(const std::string& path) const;
  // Keeps what an import or levelling found of the clip it wrote, and measures its loudness
  // beside the window when that is not known.
  void NoteImported(int row, const IntakeResult& result);
  // Forgets what is known or being measured of a clip.
  void ForgetClipFacts(int row) {
    measuring_.Drop(row);
    clipFacts_.erase(row);
  }
  // Asks whether to save unsaved edits before they are thrown away; true to go on.
  bool ConfirmUnsaved(const std::string& question);
  void MarkSaved() { savedFiles_ = FilesASaveWrites(); }
  // Empties the library and forgets what was measured of its clips.
  void ClearLibrary() {
    project_.Library.Clear();
    measuring_.DropAll();
    clipFacts_.clear();
  }

  Host& host_;
  AudioPlayer& player_;
  AlarmProject project_;
  std::vector<std::string> clipChoices_{kNoClip};
  unsigned clipChoicesVersion_ = 0;
  ModeView view_;
  PlayListImage image_;
  DiagnosticLog log_;
  Folders dirs_;
  ControlStates controls_;
  std::string projectDirLabel_;
  std::string statusText_;
  std::string passingStatus_;
  std::string projectToOpen_;  // the status text that holds for a few seconds only
  std::string lastError_;
  bool startupDone_ = false;
  int currentRow_ = 1;
  int currentColumn_ = 1;
  SavedFiles savedFiles_;
  bool playerOpen_ = false;
  std::string importFolder_;
  AudioLibrary knownNameMap_;  // m3fn.txt as last read or written here
  std::string loadNotice_;     // what the last loading said in the status line
  std::chrono::milliseconds folderLockWait_ = kFolderLockWait;
  bool levelImports_ = false;                          // the preference, read at the start
  int maxTriggerSeconds_ = kDefaultMaxTriggerSeconds;  // the preference, read at the start
  // What is known of each clip by number, its loudness when `LoudnessKnown`; otherwise the
  // measure beside the window tells.
  struct ClipFactsKnown {
    ClipLoudness Facts;
    bool LoudnessKnown = false;
  };
  std::map<int, ClipFactsKnown> clipFacts_;
  // The MP3 facts ConvertsOnImport last found, for the path it looked at.
  std::string scannedPath_;
  std::optional<ClipFacts> scannedMp3_;
  IntakeResult lastImport_;
  bool measureAfterImport_ = true;
  EditHistory history_;
  bool replaying_ = false;  // an undo or redo sets a field: that is no new step
  // Last: its thread stops before anything else of the editor goes.
  LoudnessMeasuring measuring_;
};

}  // namespace pwx
