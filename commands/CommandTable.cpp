#include "commands/CommandTable.h"

namespace pwx {

const std::vector<OptionDefinition>& CommonOptions() {
  static const std::vector<OptionDefinition> options{
      {"quiet", 'q', "", ValueKind::Text, false, "Prints no progress."},
      {"help", 'h', "", ValueKind::Text, false, "Shows this help and exits."},
  };
  return options;
}

std::vector<OptionDefinition> AllOptionsOf(const CommandDefinition& command) {
  std::vector<OptionDefinition> options = command.Options;
  options.insert(options.end(), CommonOptions().begin(), CommonOptions().end());
  return options;
}

const std::vector<ExitDefinition>& SignalExitStatuses() {
  static const std::vector<ExitDefinition> statuses{
      {130, "stopped by Ctrl+C (SIGINT) at the next safe point"},
      {143, "stopped by SIGTERM at the next safe point"},
      {129, "stopped by SIGHUP at the next safe point"},
  };
  return statuses;
}

}  // namespace pwx
