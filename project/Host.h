#pragma once

#include <functional>
#include <optional>
#include <string>

#include "common/Progress.h"

namespace pwx {

// What the editor asks of the platform: dialogs, message boxes and the file manager.
// The window implements it with real dialogs; tests script the answers.
class Host {
 public:
  virtual ~Host() = default;

  // The folder dialog titled `title`, opened at `startFolder`. Returns the chosen folder's
  // path (no trailing separator unless it is a root), or nothing when cancelled. The folder
  // may not exist yet: the user may type a new name.
  virtual std::optional<std::string> ChooseFolder(const std::string& title,
                                                  const std::string& startFolder) = 0;

  // The file-open dialog for clips (filters "MP3 File" for "*.mp3", the default, and "Audio
  // files" for every format the import converts), opened in `startFolder` (or where the
  // platform likes when it is empty). Returns the chosen file's full path, or nothing when
  // cancelled.
  virtual std::optional<std::string> ChooseMp3File(const std::string& startFolder) = 0;

  // A question with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;

  // The question whether to save unsaved edits, with Save, Discard and Cancel buttons.
  enum class SaveAnswer { Save, Discard, Cancel };
  virtual SaveAnswer AskSaveChanges(const std::string& question) = 0;

  // A message box with a single OK button and no icon.
  virtual void MessageBox(const std::string& text, const std::string& caption) = 0;

  // An error box (error icon, a single OK button).
  virtual void ErrorBox(const std::string& text) = 0;

  // Shows a folder in the platform's file manager; the outcome is not examined.
  virtual void ExploreFolder(const std::string& folder) = 0;

  // Long work (a clip's conversion), run so that the window keeps drawing: a dialog titled
  // `title` shows the steps the work reports, with a Cancel button that sets the work's
  // cancel flag. Returns when the work has ended, and raises what it raised. Without a
  // window it simply runs the work, which nobody cancels.
  using LongWork = std::function<void(const WorkControl& control)>;
  virtual void RunLongWork(const std::string& title, const LongWork& work) {
    (void)title;
    work(WorkControl{});
  }

  // What the user's preferences hold under a key (empty when nothing), kept between runs.
  virtual std::string Preference(const std::string& key) = 0;
  virtual void SetPreference(const std::string& key, const std::string& value) = 0;
};

}  // namespace pwx
