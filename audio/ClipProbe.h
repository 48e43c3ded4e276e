#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pwx {

// A place where a clip does not decode cleanly.
struct DecodeProblem {
  enum class Kind {
    LostSync,            // bytes that are no frame between two frames
    TruncatedLastFrame,  // the file ends inside a frame
    DecoderError,        // the decoder gave up
  };
  Kind What = Kind::LostSync;
  std::uint64_t ByteOffset = 0;  // where in the file
  double Seconds = 0;            // how far into the sound
  bool operator==(const DecodeProblem&) const = default;
};

// What decoding a clip found: its format, its length and where it is damaged.
struct ClipFacts {
  std::uint64_t Bytes = 0;
  std::uint64_t Frames = 0;  // MPEG audio frames decoded
  std::string MpegVersion;   // "1", "2" or "2.5"
  int Layer = 0;             // 1, 2 or 3
  long SampleRate = 0;
  int Channels = 0;
  bool VariableBitRate = false;
  std::uint64_t Samples = 0;  // per channel, encoder delay and padding removed
  std::string Container;      // "WAV", "FLAC" or "Ogg" when the bytes are such a file
  std::vector<DecodeProblem> Problems;

  // Whether the player can play it: MPEG audio Layer III frames decoded.
  bool PlayableMp3() const { return Frames > 0 && Layer == 3; }
  double Seconds() const {
    return SampleRate > 0 ? static_cast<double>(Samples) / static_cast<double>(SampleRate) : 0;
  }
};

// How deep a probe looks: decoding every frame finds what the player's decoder would stumble
// on; scanning reads only the frames' headers and their places, which gives the format, the
// length, lost sync and a cut end at a fraction of the cost.
enum class ProbeDepth { Decode, Scan };

// Decodes a clip fed piece by piece with libmpg123, the program's one MPEG audio decoder,
// and notes what it finds. Memory stays the same whatever the clip's length.
class ClipProbe {
 public:
  explicit ClipProbe(ProbeDepth depth = ProbeDepth::Decode);
  ~ClipProbe();
  ClipProbe(const ClipProbe&) = delete;
  ClipProbe& operator=(const ClipProbe&) = delete;

  // The next bytes of the clip.
  void Feed(std::string_view bytes);
  // What the whole clip gave.
  ClipFacts Finish();

 private:
  struct Decoder;
  std::unique_ptr<Decoder> decoder_;
};

struct ProbeFileOptions {
  ProbeDepth Depth = ProbeDepth::Decode;
  // Stops early, with what was found so far, when set.
  const std::atomic<bool>* Cancel = nullptr;
  // Sees every piece read as well, so another reader of the bytes (a hash) needs no second
  // read of the file.
  std::function<void(std::string_view)> AlsoSee;
};

// Probes a clip file in pieces. Raises "Cannot open file ..." or "... is not a regular file"
// when it cannot be read.
ClipFacts ProbeClipFile(const std::string& path, const ProbeFileOptions& options = {});

// The same for bytes in memory.
ClipFacts ProbeClipBytes(std::string_view bytes);

}  // namespace pwx
