#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pwx {

// Where levelling brings a clip: its integrated loudness, with its true peak at or under the
// ceiling.
inline constexpr double kTargetLoudnessLufs = -16;
inline constexpr double kPeakCeilingDbtp = -1;
// How near the target a levelled clip is, as a meter other than the editor's measures it.
inline constexpr double kLevelledWithinLu = 0.5;

// What levelling made of a clip.
enum class LevelOutcome {
  NotAsked,
  Levelled,      // encoded at the target, its true peak under the ceiling
  AlreadyLevel,  // an MP3 at the target already, copied as it was
  Silent,        // no loudness to measure: nothing was changed
  TooShort,      // shorter than the 0.4 s a loudness measure takes: nothing was changed
  Missed,        // encoded as near the target as the editor came, but not at it
};

// What a conversion wrote.
struct IntakeResult {
  bool Cancelled = false;  // then nothing was written
  bool Reencoded = true;   // false when an MP3 was copied as it was
  double Seconds = 0;      // the length of the clip written
  long SampleRate = 0;     // of the clip written
  int Channels = 0;
  std::uint64_t Bytes = 0;  // the size of the clip written
  LevelOutcome Levelling = LevelOutcome::NotAsked;
  // Measured when levelling: the loudness of the source as the player gets it (one or two
  // channels at 44,100 Hz) before the gain, and the loudness and true peak of the MP3 as
  // written. None for a silent source or one shorter than 0.4 s.
  std::optional<double> LoudnessBefore;  // LUFS
  std::optional<double> LoudnessAfter;   // LUFS
  std::optional<double> TruePeakAfter;   // dBTP
  double GainDb = 0;                     // the gain levelling applied
  double LimitedDb = 0;                  // how far the limiter took the highest peak down
};

// What the editor knows of a clip: its format, and its loudness once measured.
struct ClipLoudness {
  std::optional<double> IntegratedLufs;  // none when silent or shorter than 0.4 s
  std::optional<double> TruePeakDbtp;    // none when silent
  double Seconds = 0;
  long SampleRate = 0;  // of the file
  int Channels = 0;     // of the file
};

// "12:31.4": minutes, seconds and tenths; "1:02:31.4" from an hour on.
std::string DurationText(double seconds);

// The refusal of a clip whose MP3 would not fit the player's buffer, with its length.
std::string TooLongForPlayerText(const std::string& source, double seconds, std::uint64_t limit);

// "0:12.3, 44100 Hz, mono".
std::string FormatText(double seconds, long rate, int channels);

// "-16.0 LUFS", or "loudness not measurable (silent or under 0.4 s)".
std::string LoudnessText(const std::optional<double>& lufs);

// What levelling did, in words that are true of the clip written:
// "levelled to -16.0 LUFS (before -21.3, gain +5.3 dB, limited 1.2 dB)", "already at -16.0
// LUFS, copied as it was", "not levelled: silent", "not levelled: shorter than 0.4 s", "not
// levelled: reached -17.1 LUFS, true peak -1.0 dBTP (before -30.2, gain +13.1 dB, limited
// 9.0 dB)". Empty when levelling was not asked.
std::string LevellingText(const IntakeResult& result);

}  // namespace pwx
