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
  bool InfoFrame = false;  // the clip starts with an encoder's Xing or Info frame
  // The frames of audio that frame counts. The decoder leaves out its own delay, the
  // encoder's delay and padding only when it gives one.
  std::optional<std::uint64_t> AnnouncedFrames;
  // The encoder's delay and padding that frame names: set by the decoder that reads it.
  std::optional<std::uint64_t> Delay;
  std::optional<std::uint64_t> DelayAndPadding;

  std::uint64_t RawSamples() const { return Starts.size() * SamplesPerFrame; }
  bool Gapless() const { return AnnouncedFrames.has_value(); }
  // Where in the frames' raw samples the gapless ones start.
  std::uint64_t GaplessOffset() const { return Gapless() ? Delay.value_or(0) + kDecoderDelay : 0; }
  // The gapless samples: those from the offset up to where the counted frames end less the
  // padding, or up to the last frame when frames are lost or cut short.
  std::uint64_t GaplessSamples() const;
};

// The frames of a clean clip from their headers alone: frames of one format that follow
// each other without a byte between them, from the start (after an ID3v2 tag) to the end
// (before an ID3v1 tag). None for anything else (damage, free format, other tags, a frame cut
// short, a protected info frame), which only the decoder sorts out as it will when the clip
// plays. Leaves the info frame's delay and padding to the decoder.
std::optional<FrameMap> WalkFrameHeaders(ClipBytes& bytes);

// The first frame whose bytes the decoder takes to decode frame `frame`: a Layer III frame
// continues its data in the frames before it.
std::uint64_t FirstFrameNeeded(ClipBytes& bytes, const FrameMap& map, std::uint64_t frame);

// Whether frames `from` to `to` follow each other with no byte between them: a decoder that
// starts at `from` then takes each of them as the whole decode does.
bool FramesFollow(ClipBytes& bytes, const FrameMap& map, std::uint64_t from, std::uint64_t to);

// The frames as the decoder finds them, over any damage, with the info frame's count, delay
// and padding.
FrameMap MapFramesByDecoder(ClipBytes& bytes);

}  // namespace pwx
