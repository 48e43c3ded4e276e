#include "commands/SiblingPrograms.h"

#include <cerrno>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "commands/ChildProgram.h"
#include "commands/CommandRegistry.h"
#include "common/FileSystem.h"
#include "common/MessageText.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace pwx {

namespace {

// The folder this program was started from, found through the system (not argv[0], which a
// shell may give as a bare name).
std::filesystem::path ProgramFolder() {
  std::error_code error;
#ifdef __linux__
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) return self.parent_path();
#endif
  return {};
}

bool IsProgram(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
#ifdef _WIN32
  return true;
#else
  return access(path.c_str(), X_OK) == 0;
#endif
}

}  // namespace

std::optional<std::string> SiblingProgram(const std::string& name) {
  const std::filesystem::path folder = ProgramFolder();
  if (folder.empty()) return std::nullopt;
  for (const std::filesystem::path& candidate :
       {folder / name, folder / PWX_PRIVATE_PROGRAMS / name}) {
    if (IsProgram(candidate)) return candidate.lexically_normal().string();
  }
  return std::nullopt;
}

int StartWindow(const std::vector<std::string>& arguments) {
  const auto window = SiblingProgram(kWindowProgram);
  if (!window) {
    std::cerr << Program().Name << ": the window program " << kWindowProgram
              << " is not installed beside this one.\n";
    return 2;
  }
  // Shown to the system and the desktop under the program's own name.
  std::vector<std::string> words{std::string(Program().Name)};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
#ifdef _WIN32
  const intptr_t status = _spawnv(_P_WAIT, window->c_str(), argv.data());
  if (status >= 0) return static_cast<int>(status);
#else
  execv(window->c_str(), argv.data());
#endif
  std::cerr << Program().Name << ": cannot start " << TerminalText(*window) << ": "
            << SystemReason(errno) << "\n";
  return 2;
}

std::optional<std::string> RenderPdfWithProgram(const std::string& html, const std::string& title,
                                                const std::string& creator, std::string& why) {
  const auto renderer = SiblingProgram(kPdfRendererProgram);
  if (!renderer) {
    why = std::string("The PDF renderer ") + kPdfRendererProgram + " is not installed.";
    return std::nullopt;
  }
  const ChildRun run = RunChildProgram(*renderer, {title, creator}, html);
  if (!run.Started) {
    why = "The PDF renderer cannot be started: " + run.WhyNotStarted;
    return std::nullopt;
  }
  if (run.ExitStatus != 0 || run.Out.empty()) {
    std::string said = run.Err.substr(0, run.Err.find('\n'));
    if (said.empty()) {
      said = run.Signal != 0 ? "it was stopped by signal " + std::to_string(run.Signal)
                             : "it gave no PDF";
    }
    why = "The PDF could not be laid out: " + said;
    return std::nullopt;
  }
  return run.Out;
}

}  // namespace pwx
