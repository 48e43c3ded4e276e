#include "commands/CommandTable.h"

namespace pwx {

const std::vector<OptionSpec>& CommonOptions() {
  static const std::vector<OptionSpec> options{
      {"quiet", 'q', "", ValueKind::Text, false, "Prints no progress."},
      {"help", 'h', "", ValueKind::Text, false, "Shows this help and exits."},
  };
  return options;
}

std::vector<OptionSpec> AllOptionsOf(const CommandSpec& command) {
  std::vector<OptionSpec> options = command.Options;
  options.insert(options.end(), CommonOptions().begin(), CommonOptions().end());
  return options;
}

const std::vector<ExitSpec>& SignalExitStatuses() {
  static const std::vector<ExitSpec> statuses{
      {130, "stopped by Ctrl+C (SIGINT) at the next safe point"},
      {143, "stopped by SIGTERM at the next safe point"},
      {129, "stopped by SIGHUP at the next safe point"},
  };
  return statuses;
}

}  // namespace pwx
