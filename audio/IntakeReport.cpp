#include "audio/IntakeReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/MessageText.h"

namespace pwx {

namespace {

// "(before -21.3, gain +5.3 dB, limited 1.2 dB)": what was done to the sound.
std::string WhatWasDone(const IntakeResult& result) {
  std::string text = "(before " + FormattedNumber("%.1f", result.LoudnessBefore.value_or(0)) +
                     ", gain " + FormattedNumber("%+.1f", result.GainDb) + " dB, ";
  text += result.LimitedDb >= 0.05 ? "limited " + FormattedNumber("%.1f", result.LimitedDb) + " dB)"
                                   : std::string("no limiting)");
  return text;
}

}  // namespace

std::string DurationText(double seconds) {
  const auto tenths = static_cast<long long>(std::llround(std::max(seconds, 0.0) * 10));
  const long long hours = tenths / 36000;
  const long long minutes = tenths / 600 % 60;
  const double rest = static_cast<double>(tenths % 600) / 10;
  char text[48];
  if (hours > 0) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%04.1f", hours, minutes, rest);
  } else {
    std::snprintf(text, sizeof text, "%lld:%04.1f", minutes, rest);
  }
  return text;
}

std::string TooLongForPlayerText(const std::string& source, double seconds, std::uint64_t limit) {
  std::string text(1, '"');
  text += QuotePath(source);
  text += "\" is too long for the player: it lasts ";
  text += DurationText(seconds);
  text += ", and as an MP3 it would pass the player's limit of ";
  text += GroupedDigits(limit);
  text += " bytes. Shorten it and import it again.";
  return text;
}

std::string FormatText(double seconds, long rate, int channels) {
  const std::string layout = channels == 1   ? "mono"
                             : channels == 2 ? "stereo"
                                             : std::to_string(channels) + " channels";
  return DurationText(seconds) + ", " + std::to_string(rate) + " Hz, " + layout;
}

std::string LoudnessText(const std::optional<double>& lufs) {
  if (!lufs) return "loudness not measurable (silent or under 0.4 s)";
  return FormattedNumber("%.1f", *lufs) + " LUFS";
}

std::string LevellingText(const IntakeResult& result) {
  switch (result.Levelling) {
    case LevelOutcome::NotAsked:
      return {};
    case LevelOutcome::Levelled:
      return "levelled to " + LoudnessText(result.LoudnessAfter) + " " + WhatWasDone(result);
    case LevelOutcome::AlreadyLevel:
      return "already at " + LoudnessText(result.LoudnessAfter) + ", copied as it was";
    case LevelOutcome::Silent:
      return "not levelled: silent";
    case LevelOutcome::TooShort:
      return "not levelled: shorter than 0.4 s";
    case LevelOutcome::Missed:
      return "not levelled: reached " + LoudnessText(result.LoudnessAfter) + ", true peak " +
             FormattedNumber("%.1f", result.TruePeakAfter.value_or(0)) + " dBTP " +
             WhatWasDone(result);
  }
  return {};
}

}  // namespace pwx
