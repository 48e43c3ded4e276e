#include "audio/Mp3Encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/EditorError.h"

namespace pwx {

namespace {

constexpr std::size_t kFramesPerCall = 8192;
constexpr float kVbrQuality = 4;
// The room lame asks for: 1.25 times the samples plus 7,200 bytes.
constexpr std::size_t kOutputRoom = kFramesPerCall * 5 / 4 + 7200;
constexpr std::size_t kTagRoom = 2880;  // more than the longest MPEG-1 Layer III frame
constexpr double kFrameSamples = 1152;
constexpr std::uint64_t kSmallestFrameBytes = 104;  // 144 * 32,000 / 44,100, unpadded

}  // namespace

struct Mp3Encoder::State {
  lame_t lame = nullptr;
  int channels = 1;
  std::function<void(std::string_view)> sink;
  std::vector<unsigned char> output = std::vector<unsigned char>(kOutputRoom);

  void Deliver(int made) {
    if (made < 0) {
      std::string text = "The MP3 encoder failed (code ";
      text += std::to_string(made);
      text += ").";
      throw EditorError(text);
    }
    if (made > 0) {
      sink(std::string_view(reinterpret_cast<const char*>(output.data()),
                            static_cast<std::size_t>(made)));
    }
  }
};

Mp3Encoder::Mp3Encoder(int channels, std::function<void(std::string_view)> sink)
    : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.channels = channels;
  s.sink = std::move(sink);
  s.lame = lame_init();
  if (!s.lame) throw EditorError("The MP3 encoder cannot start.");
  lame_set_in_samplerate(s.lame, kRate);
  lame_set_out_samplerate(s.lame, kRate);
  lame_set_num_channels(s.lame, channels);
  lame_set_mode(s.lame, channels == 1 ? MONO : JOINT_STEREO);
  lame_set_VBR(s.lame, vbr_default);
  lame_set_VBR_quality(s.lame, kVbrQuality);
  lame_set_findReplayGain(s.lame, 0);
  lame_set_bWriteVbrTag(s.lame, 1);
  lame_set_write_id3tag_automatic(s.lame, 0);
  if (lame_init_params(s.lame) < 0) {
    lame_close(s.lame);
    throw EditorError("The MP3 encoder cannot start.");
  }
}

Mp3Encoder::~Mp3Encoder() {
  lame_close(state_->lame);
}

void Mp3Encoder::Encode(const float* samples, std::size_t frames) {
  State& s = *state_;
  for (std::size_t done = 0; done < frames;) {
    const std::size_t now = std::min(kFramesPerCall, frames - done);
    const float* piece = samples + done * static_cast<std::size_t>(s.channels);
    const int room = static_cast<int>(s.output.size());
    const int count = static_cast<int>(now);
    s.Deliver(s.channels == 1 ? lame_encode_buffer_ieee_float(s.lame, piece, nullptr, count,
                                                              s.output.data(), room)
                              : lame_encode_buffer_interleaved_ieee_float(s.lame, piece, count,
                                                                          s.output.data(), room));
    done += now;
  }
}

std::string Mp3Encoder::Finish() {
  State& s = *state_;
  s.Deliver(lame_encode_flush(s.lame, s.output.data(), static_cast<int>(s.output.size())));
  std::vector<unsigned char> tag(kTagRoom);
  const std::size_t size = lame_get_lametag_frame(s.lame, tag.data(), tag.size());
  if (size > tag.size()) throw EditorError("The MP3 encoder failed to finish its tag.");
  return std::string(reinterpret_cast<const char*>(tag.data()), size);
}

std::uint64_t SmallestMp3Bytes(double seconds) {
  const double frames = std::floor(std::max(seconds, 0.0) * Mp3Encoder::kRate / kFrameSamples);
  // Lengths past what any file could hold are as good as infinite.
  if (frames > 1e15) return UINT64_MAX;
  return static_cast<std::uint64_t>(frames) * kSmallestFrameBytes;
}

}  // namespace pwx
