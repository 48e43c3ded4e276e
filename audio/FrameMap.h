#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "audio/ClipBytes.h"

namespace pwx {

// The decoder's own delay, which it leaves out together with the encoder's when the clip's
// info frame names them.
inline constexpr std::uint64_t kDecoderDelay = 529;

// Where each audio frame of a clip's own format starts (an encoder's info frame is none).
struct FrameMap {
  std::vector<std::uint64_t> Starts;
  std::uint64_t SamplesPerFrame = 0;
  long SampleRate = 0;
  int Channels = 0;
  int Layer = 0;
  bool InfoFrame = false;  // the clip starts with an encoder's info frame
  // What that frame says: set by the decoder that reads it.
  std::optional<std::uint64_t> Delay;
  std::optional<std::uint64_t> DelayAndPadding;
  std::optional<std::uint64_t> AnnouncedFrames;

  std::uint64_t RawSamples() const { return Starts.size() * SamplesPerFrame; }
  bool Gapless() const { return Delay && DelayAndPadding && *DelayAndPadding >= *Delay; }
  // Where in the frames' raw samples the gapless ones start.
  std::uint64_t GaplessOffset() const { return Gapless() ? *Delay + kDecoderDelay : 0; }
  // The gapless samples: those from the offset up to where the info frame's count of frames
  // ends less the padding, or up to the last frame when frames are lost or cut short.
  std::uint64_t GaplessSamples() const;
};

// The frames of a clean clip from their headers alone: frames of one format that follow
// each other without a byte between them, from the start (after an ID3v2 tag) to the end
// (before an ID3v1 tag). None for anything else (damage, free format, other tags, a frame cut
// short), which only the decoder sorts out as it will when the clip plays. Leaves the info
// frame's delay and padding to the decoder.
std::optional<FrameMap> WalkFrameHeaders(ClipBytes& bytes);

// The first frame whose bytes the decoder takes to decode frame `frame`: a Layer III frame
// continues its data in the frames before it.
std::uint64_t FirstFrameNeeded(ClipBytes& bytes, const FrameMap& map, std::uint64_t frame);

// The frames as the decoder finds them, over any damage, with the info frame's delay and
// padding.
FrameMap MapFramesByDecoder(ClipBytes& bytes);

}  // namespace pwx
