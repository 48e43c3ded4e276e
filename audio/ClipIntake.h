#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "audio/ClipFiles.h"

namespace pwx {

// Where levelling brings a clip: its integrated loudness, and the ceiling its true peak stays
// under, which wins when the two disagree.
inline constexpr double kTargetLoudnessLufs = -16;
inline constexpr double kPeakCeilingDbtp = -1;

struct IntakeOptions {
  // Brings the clip to the target loudness, or as near as the peak ceiling allows.
  bool Level = false;
  // The fraction of the work done, from 0 to 1, now and then; it never goes back.
  std::function<void(double fraction)> Progress;
  // Checked between blocks of sound: a cancel leaves nothing behind.
  const std::atomic<bool>* Cancel = nullptr;
  // The largest MP3 to write: the player's buffer.
  std::uint64_t MaxBytes = static_cast<std::uint64_t>(kMaxClipBytes);
};

// What a conversion wrote.
struct IntakeResult {
  bool Cancelled = false;  // then nothing was written
  bool Reencoded = true;   // false when an MP3 was copied as it was
  double Seconds = 0;      // the length of the clip written
  long SampleRate = 0;     // of the clip written
  int Channels = 0;
  // Measured when levelling: the loudness of the source as the player gets it (one or two
  // channels at 44,100 Hz) before the gain, and the loudness and true peak of the MP3 as
  // written. None for a silent source or one shorter than 0.4 s.
  std::optional<double> LoudnessBefore;  // LUFS
  std::optional<double> LoudnessAfter;   // LUFS
  std::optional<double> TruePeakAfter;   // dBTP
  double GainDb = 0;                     // the gain levelling applied
  std::uint64_t Bytes = 0;               // the size of the clip written
};

// "12:31.4": minutes, seconds and tenths; "1:02:31.4" from an hour on.
std::string DurationText(double seconds);

// The refusal of a clip whose MP3 would not fit the player's buffer, with its length.
std::string TooLongForPlayerText(const std::string& source, double seconds, std::uint64_t limit);

// Makes the player's clip at `dest` from a sound file of any format the editor reads
// (recognised by its bytes, not its name): mono stays mono, more channels become stereo,
// any rate becomes 44,100 Hz, encoded as MPEG-1 Layer III, levelled when asked. An MP3 is
// copied as it is unless levelling changes it; an MP3 already at the level is copied as
// well, as encoding it again would only lose quality. Nothing is written under `dest` unless
// all went well: whatever stood there stays until the new clip is complete.
// Raises EditorError with the user's text: a source that cannot be read, is empty or is no
// audio; a clip that would pass `options.MaxBytes`; a destination that cannot be written.
IntakeResult ConvertClip(const std::string& source, const std::string& dest,
                         const IntakeOptions& options = {});

// Levels an MP3 project copy in place (ConvertClip with the copy as source and destination,
// levelling whatever `options.Level` says).
IntakeResult LevelProjectCopy(const std::string& path, const IntakeOptions& options = {});

// The loudness of a clip, for the window to show.
struct ClipLoudness {
  std::optional<double> IntegratedLufs;  // none when silent or shorter than 0.4 s
  std::optional<double> TruePeakDbtp;    // none when silent
  double Seconds = 0;
  long SampleRate = 0;  // of the file
  int Channels = 0;     // of the file
};

// Measures a clip of any format the editor reads (the player's MP3s above all). None when
// cancelled. Raises like ConvertClip's reading of its source.
std::optional<ClipLoudness> MeasureClipLoudness(const std::string& path,
                                                const std::atomic<bool>* cancel = nullptr);

}  // namespace pwx
