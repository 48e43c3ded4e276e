// Converts one sound file into a player clip with the intake core, as the editor's import
// will, so that scripts/intake-bench.sh can time and weigh the whole process.
//
//   intake_bench [--level] [--limit BYTES] SOURCE DEST.mp3
//
// --limit replaces the player's limit of 10 MiB, so that an hour of sound can go all the way
// through for a measure of memory. Prints what the conversion gave; exits 1 with the user's
// text when it is refused.
#include <cstdio>
#include <string>

#include "audio/ClipIntake.h"
#include "common/EditorError.h"

namespace {

std::string Optional(const std::optional<double>& value, const char* unit) {
  if (!value) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f %s", *value, unit);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  pwx::IntakeOptions options;
  int at = 1;
  for (; at < argc && argv[at][0] == '-'; ++at) {
    const std::string option = argv[at];
    if (option == "--level") {
      options.Level = true;
    } else if (option == "--limit" && at + 1 < argc) {
      options.MaxBytes = std::stoull(argv[++at]);
    } else {
      break;
    }
  }
  if (argc - at != 2) {
    std::fprintf(stderr, "usage: intake_bench [--level] [--limit BYTES] SOURCE DEST.mp3\n");
    return 2;
  }
  try {
    const pwx::IntakeResult result = pwx::ConvertClip(argv[at], argv[at + 1], options);
    std::printf(
        "%s, %llu bytes, %s\n",
        pwx::FormatText(result.Seconds, result.SampleRate, result.Channels).c_str(),
        static_cast<unsigned long long>(result.Bytes),
        result.Levelling == pwx::LevelOutcome::NotAsked
            ? (result.Reencoded ? "converted" : "copied")
            : (pwx::LevellingText(result) + ", true peak " + Optional(result.TruePeakAfter, "dBTP"))
                  .c_str());
  } catch (const pwx::EditorError& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
