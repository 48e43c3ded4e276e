#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "audio/ClipFiles.h"
#include "audio/ClipProbe.h"
#include "audio/IntakeReport.h"
#include "common/Progress.h"

namespace pwx {

struct IntakeOptions {
  // The intake's progress is one step of shares that never goes back: "Converting
  // speech.wav into 003.mp3", or "Levelling 003.mp3" for a copy levelled in place. Its
  // cancel is checked between blocks of sound, and leaves nothing behind.
  WorkControl Work;
  // Brings the clip to the target loudness, its true peak held under the ceiling by a limiter.
  bool Level = false;
  // The largest MP3 to write: the player's buffer.
  std::uint64_t MaxBytes = static_cast<std::uint64_t>(kMaxClipBytes);
};

// The facts of a source that is an MP3 the player plays as it is, found by its bytes (a scan
// of its frame headers, whatever its name); none for any other file, or one that cannot be
// read. What an import copies instead of converting.
std::optional<ClipFacts> PlayableMp3Facts(const std::string& path);

// Makes the player's clip at `dest` from a sound file of any format the editor reads
// (recognised by its bytes, not its name): mono stays mono, more channels become stereo,
// any rate becomes 44,100 Hz, encoded as MPEG-1 Layer III, levelled when asked. An MP3 the
// player plays is copied as it is unless levelling changes it; one already at the level is
// copied as well, as encoding it again would only lose quality. A source whose length alone
// makes the clip pass `options.MaxBytes` is refused before any of it is decoded. Nothing is
// written under `dest` unless all went well: whatever stood there stays until the new clip
// is complete.
// Raises EditorError with the user's text: a source that cannot be read, is empty or is no
// audio; a clip that would pass `options.MaxBytes`; a destination that cannot be written.
IntakeResult ConvertClip(const std::string& source, const std::string& dest,
                         const IntakeOptions& options = {});

// Levels an MP3 project copy in place (ConvertClip with the copy as source and destination,
// levelling whatever `options.Level` says).
IntakeResult LevelProjectCopy(const std::string& path, const IntakeOptions& options = {});

// Measures a clip of any format the editor reads (the player's MP3s above all), its progress
// the step "Measuring <name>". None when cancelled. Raises like ConvertClip's reading of its
// source.
std::optional<ClipLoudness> MeasureClipLoudness(const std::string& path,
                                                const WorkControl& control = {});

}  // namespace pwx
