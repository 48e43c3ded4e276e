#include "audio/MpegStream.h"

#include <mpg123.h>

#include <mutex>

#include "common/EditorError.h"

namespace pwx {

namespace {

MpegStream::Step StepOf(int result) {
  switch (result) {
    case MPG123_OK:
      return MpegStream::Step::Frame;
    case MPG123_NEW_FORMAT:
      return MpegStream::Step::NewFormat;
    case MPG123_NEED_MORE:
    case MPG123_DONE:
      return MpegStream::Step::NeedMore;
    default:
      return MpegStream::Step::Failed;
  }
}

}  // namespace

std::string MpegVersionText(MpegVersion version) {
  switch (version) {
    case MpegVersion::V1:
      return "1";
    case MpegVersion::V2:
      return "2";
    case MpegVersion::V25:
      break;
  }
  return "2.5";
}

struct MpegStream::Handle {
  mpg123_handle* decoder = nullptr;
};

MpegStream::MpegStream(Samples samples, bool gapless) : handle_(std::make_unique<Handle>()) {
  static std::once_flag started;
  std::call_once(started, [] { mpg123_init(); });
  int error = MPG123_OK;
  mpg123_handle* decoder = mpg123_new(nullptr, &error);
  if (!decoder) {
    throw EditorError(std::string("The MPEG audio decoder cannot start: ") +
                      mpg123_plain_strerror(error));
  }
  handle_->decoder = decoder;
  long flags = MPG123_QUIET;
  if (gapless) flags |= MPG123_GAPLESS;
  if (samples == Samples::Mono16) flags |= MPG123_FORCE_MONO;
  mpg123_param(decoder, MPG123_ADD_FLAGS, flags, 0);
  // Damage in the middle of a clip is passed over to the frames after it, however long.
  mpg123_param(decoder, MPG123_RESYNC_LIMIT, -1, 0);
  mpg123_format_none(decoder);
  const int encoding = samples == Samples::Float ? MPG123_ENC_FLOAT_32 : MPG123_ENC_SIGNED_16;
  const long* rates = nullptr;
  std::size_t count = 0;
  mpg123_rates(&rates, &count);
  for (std::size_t i = 0; i < count; ++i) {
    mpg123_format(decoder, rates[i], MPG123_MONO | MPG123_STEREO, encoding);
  }
  mpg123_open_feed(decoder);
}

MpegStream::~MpegStream() {
  mpg123_delete(handle_->decoder);
}

bool MpegStream::Feed(std::string_view bytes) {
  return mpg123_feed(handle_->decoder, reinterpret_cast<const unsigned char*>(bytes.data()),
                     bytes.size()) == MPG123_OK;
}

void MpegStream::Restart() {
  mpg123_open_feed(handle_->decoder);
}

MpegStream::Step MpegStream::DecodeFrame(std::string_view& samples) {
  off_t number = 0;
  unsigned char* audio = nullptr;
  std::size_t bytes = 0;
  const int result = mpg123_decode_frame(handle_->decoder, &number, &audio, &bytes);
  samples = std::string_view(reinterpret_cast<const char*>(audio), audio ? bytes : 0);
  return StepOf(result);
}

MpegStream::Step MpegStream::SkipFrame() {
  const int result = mpg123_framebyframe_next(handle_->decoder);
  // Only headers are read: a new format is one more frame taken.
  return result == MPG123_NEW_FORMAT ? Step::Frame : StepOf(result);
}

MpegFrameInfo MpegStream::Frame() const {
  mpg123_frameinfo2 info{};
  mpg123_info2(handle_->decoder, &info);
  MpegFrameInfo frame;
  frame.Version = info.version == MPG123_1_0   ? MpegVersion::V1
                  : info.version == MPG123_2_0 ? MpegVersion::V2
                                               : MpegVersion::V25;
  frame.Layer = info.layer;
  frame.SampleRate = info.rate;
  frame.Channels = info.mode == MPG123_M_MONO ? 1 : 2;
  frame.BitRate = info.bitrate;
  frame.Bytes = static_cast<std::uint64_t>(info.framesize);
  return frame;
}

std::uint64_t MpegStream::FramePosition() const {
  return static_cast<std::uint64_t>(mpg123_framepos(handle_->decoder));
}

std::uint64_t MpegStream::StreamPosition() const {
  return static_cast<std::uint64_t>(mpg123_tell_stream(handle_->decoder));
}

std::uint64_t MpegStream::SamplesPerFrame() const {
  return static_cast<std::uint64_t>(mpg123_spf(handle_->decoder));
}

MpegStream::Output MpegStream::OutputFormat() const {
  Output output;
  int encoding = 0;
  mpg123_getformat(handle_->decoder, &output.Rate, &output.Channels, &encoding);
  return output;
}

std::optional<std::uint64_t> MpegStream::EncoderPaddingSamples() const {
  long delay = -1;
  long padding = -1;
  mpg123_getstate(handle_->decoder, MPG123_ENC_DELAY, &delay, nullptr);
  mpg123_getstate(handle_->decoder, MPG123_ENC_PADDING, &padding, nullptr);
  if (delay < 0 || padding < 0) return std::nullopt;
  return static_cast<std::uint64_t>(delay + padding);
}

std::optional<std::uint64_t> MpegStream::EncoderDelaySamples() const {
  long delay = -1;
  mpg123_getstate(handle_->decoder, MPG123_ENC_DELAY, &delay, nullptr);
  if (delay < 0) return std::nullopt;
  return static_cast<std::uint64_t>(delay);
}

}  // namespace pwx
