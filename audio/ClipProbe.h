#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/FileReading.h"

namespace pwx {

// A place where a clip does not decode cleanly.
struct DecodeProblem {
  enum class Kind {
    LostSync,            // bytes that are no frame between two frames
    TruncatedLastFrame,  // the file ends inside a frame
    DecoderError,        // the decoder gave up
    NotAudio,            // bytes before the first frame or after the last that are neither
                         // frames nor tags
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
  std::string Container;      // "WAV", "FLAC", "Ogg" ... when the bytes are such a file
  // The bytes that belong to an MP3: the clip's frames one after the other, its tags, the
  // frame in which an encoder notes the clip's length, and zeros before or after the frames.
  std::uint64_t AudioBytes = 0;
  bool Unread = false;  // larger than the probe may read: only `Bytes` is sure
  std::vector<DecodeProblem> Problems;

  // Whether the frames account for the file: at least this share of its bytes (a clip with
  // a little damage still does; stray frame syncs in some other file do not).
  bool FramesAccountForFile() const { return AudioBytes * 10 >= Bytes * 9; }
  // Whether the player can play it: an MP3 file whose MPEG audio Layer III frames decoded
  // and account for the file, and no other kind of file that happens to hold such frames.
  bool PlayableMp3() const {
    return Frames > 0 && Layer == 3 && Container.empty() && !Unread && FramesAccountForFile();
  }
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
  // A file larger than this is not read (or, when it grows while read, no further): its
  // facts say `Unread` and hold its size.
  std::uint64_t MaxBytes = UINT64_MAX;
};

// Probes a clip file in pieces. Raises "Cannot open file ..." or "... is not a regular file"
// when it cannot be read.
ClipFacts ProbeClipFile(const std::string& path, const ProbeFileOptions& options = {});
// The same for a file already open, read from where it stands.
ClipFacts ProbeClipFile(InputFile& file, const ProbeFileOptions& options = {});

// The same for bytes in memory.
ClipFacts ProbeClipBytes(std::string_view bytes);

}  // namespace pwx
