#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "textform/ProjectText.h"

namespace pwx {

// One difference between project A and project B, in the player's terms: what differs
// ("Device ID", "DI2 #1", "DI2 repeat", "clip 003 Evacuate now"), how it was and how it is.
struct DiffLine {
  std::string Subject;
  std::string Before;  // A's
  std::string After;   // B's
  std::string Text;    // "Device ID: 12 -> 13", "clip 007: only in B"
  bool operator==(const DiffLine&) const = default;
};

// How two copies of a clip whose bytes differ compare once decoded.
struct ClipAudioComparison {
  enum class Kind { SameAudio, AudioDiffers, Unknown };
  Kind What = Kind::Unknown;
  std::optional<double> LufsA, LufsB;        // measured now, when the text forms lack them
  std::optional<double> SecondsA, SecondsB;  // decoded now, when the text forms lack them
  std::string Trouble;  // why the audio could not be compared (a copy unreadable, say)
};

// Compares the copies of a clip in A and B; nothing when neither folder is there to decode.
using ClipAudioComparer = std::function<std::optional<ClipAudioComparison>(int number)>;

enum class DiffOutcome { Equal, Different, Trouble };

struct ProjectDiff {
  std::vector<DiffLine> Lines;
  std::vector<std::string> Troubles;  // what kept a part from being compared
  DiffOutcome Outcome() const {
    if (!Troubles.empty()) return DiffOutcome::Trouble;
    return Lines.empty() ? DiffOutcome::Equal : DiffOutcome::Different;
  }
};

// The differences of two projects' text forms, one line each: the settings, the mode, every
// slot's clips, repeat and alarm output (labelled as B's mode labels them), the play list's
// unnamed bytes, each clip of the libraries (its source, and where the copies' SHA-256
// differ, its audio as `audio` decodes it: "tags only" when only the bytes around the audio
// differ), and what either folder lacks.
ProjectDiff DiffProjectTexts(const ProjectText& a, const ProjectText& b,
                             const ClipAudioComparer& audio = {});

}  // namespace pwx
