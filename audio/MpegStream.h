#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace pwx {

// The MPEG audio version of a frame.
enum class MpegVersion { V1, V2, V25 };

// "1", "2" or "2.5".
std::string MpegVersionText(MpegVersion version);

// What the header of the frame at hand says.
struct MpegFrameInfo {
  MpegVersion Version = MpegVersion::V1;
  int Layer = 0;  // 1, 2 or 3
  long SampleRate = 0;
  int Channels = 0;         // 1 or 2
  int BitRate = 0;          // kbit/s
  std::uint64_t Bytes = 0;  // the frame's length
};

// MPEG audio fed piece by piece to libmpg123, the program's one MPEG audio decoder (this is
// the only file that knows the library): quiet, passing over damage however long, taking
// any rate in one or two channels.
class MpegStream {
 public:
  // What decoding gives: interleaved 32-bit float samples, or one channel of 16 bits (the
  // mix of both), which halves the work of the synthesis when the samples are only counted.
  enum class Samples { Float, Mono16 };
  // Raises "The MPEG audio decoder cannot start: <reason>". `gapless` leaves out the
  // encoder delay and padding an encoder's info frame announces.
  MpegStream(Samples samples, bool gapless);
  ~MpegStream();
  MpegStream(const MpegStream&) = delete;
  MpegStream& operator=(const MpegStream&) = delete;

  // The next bytes of the stream; false when the decoder refuses them.
  bool Feed(std::string_view bytes);
  // Forgets the stream fed so far, to take another from its start with the same set-up.
  void Restart();

  enum class Step {
    NeedMore,   // every whole frame fed has been taken
    NewFormat,  // the stream's format changed: the next call takes the frame
    Frame,      // a frame was taken
    Failed,     // the decoder gave up
  };
  // Decodes the next frame; its samples stay valid until the next call.
  Step DecodeFrame(std::string_view& samples);
  // Takes the next frame's header only, with no synthesis at all.
  Step SkipFrame();

  // The header of the frame taken last.
  MpegFrameInfo Frame() const;
  // Where that frame starts in the stream.
  std::uint64_t FramePosition() const;
  // How far into the stream the decoder has read.
  std::uint64_t StreamPosition() const;
  // The samples per channel of the frame taken last.
  std::uint64_t SamplesPerFrame() const;
  // The rate and channels of the samples decoding gives now.
  struct Output {
    long Rate = 0;
    int Channels = 0;
  };
  Output OutputFormat() const;
  // The silence the encoder added before and after the sound, as its info frame says; none
  // when no info frame said it.
  std::optional<std::uint64_t> EncoderPaddingSamples() const;
  // Of that silence, what the encoder added before the sound; none when no info frame said.
  std::optional<std::uint64_t> EncoderDelaySamples() const;

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

}  // namespace pwx
