#pragma once

#include <cstdint>
#include <string>

#include "audio/PcmSource.h"
#include "common/Progress.h"
#include "delivery/InputSequence.h"

namespace pwx {

// What a render wrote.
struct RenderedSound {
  SoundFormat Format;
  std::uint64_t Frames = 0;  // samples per channel
  bool Resampled = false;    // a clip of another rate was brought to the first clip's
  double Seconds() const {
    return Format.Rate > 0 ? static_cast<double>(Frames) / static_cast<double>(Format.Rate) : 0;
  }
};

// Writes an input's whole sequence as one WAV file (32-bit float samples), as the player
// plays it: each segment's project copy decoded without gaps, one after the other. The sound
// has the first clip's rate and the most channels of its clips: a mono clip plays on both
// channels of a stereo sequence, and a clip of another rate is resampled. The file is
// replaced safely: a failure or a cancel (the progress is the segments' share) leaves it as
// it was. Raises the sequence's first problem when it cannot play, "<input> plays nothing"
// for a silent input, or the decoder's and the file's errors.
RenderedSound RenderSequence(const ProjectSnapshot& project, const InputSequence& sequence,
                             const std::string& path, const WorkControl& work = {});

}  // namespace pwx
