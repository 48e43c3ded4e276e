// The program pwx36-editor: a command runs here, with the core and no window's libraries;
// the window is a program of its own, started in this one's place.
#include <cstdio>
#include <iostream>
#include <string>
#include <variant>
#include <vector>

#include "commands/CommandLineParser.h"
#include "commands/CommandPaths.h"
#include "commands/SiblingPrograms.h"
#include "common/InterruptWatch.h"

#ifdef _WIN32
#include <io.h>
#define PWX_ISATTY _isatty
#else
#include <unistd.h>
#define PWX_ISATTY isatty
#endif

namespace {

int Run(const pwx::RunCommand& run) {
  // Ctrl+C, SIGTERM and SIGHUP from here on stop the work at its next safe point.
  const pwx::InterruptWatch interrupts;
  pwx::CommandContext context{std::cout,
                              std::cerr,
                              pwx::CurrentFolder(),
                              PWX_ISATTY(1) != 0,
                              PWX_ISATTY(2) != 0,
                              &interrupts.Cancel(),
                              pwx::RenderPdfWithProgram};
  const pwx::CommandExit exit = run.Command->Run(run.Input, context);
  std::cout.flush();
  std::cerr.flush();
  // A command stopped by a signal ends the process as that signal would have.
  if (exit == pwx::CommandExit::Interrupted) interrupts.EndAsInterrupted();
  return static_cast<int>(exit);
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  const pwx::ParsedCommandLine parsed = pwx::ParseCommandLine(words, pwx::IsFolderOrPlayList);
  if (const auto* window = std::get_if<pwx::OpenWindow>(&parsed)) {
    return pwx::StartWindow(window->Arguments);
  }
  if (const auto* text = std::get_if<pwx::ShowText>(&parsed)) {
    std::cout << text->Text;
    return 0;
  }
  if (const auto* error = std::get_if<pwx::UsageError>(&parsed)) {
    std::cerr << error->Message << "\n";
    return static_cast<int>(pwx::CommandExit::CannotRun);
  }
  return Run(std::get<pwx::RunCommand>(parsed));
}
