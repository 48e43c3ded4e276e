// Any bytes as a sound file for the intake: decoded with libsndfile from memory, mixed to
// stereo, brought to 44,100 Hz and measured, as the intake's first pass does; or, when
// libsndfile finds MPEG audio, decoded by the intake's MPEG decoder fed in pieces. Nothing crashes
// or hangs, a refusal is a sentence for the user, and what comes out is finite: no sample, no
// loudness and no peak that is not a number.
//
// Seeds (fuzz/corpus/fuzz_intake_decode/) are tiny files made with sox -R -D: 16-bit WAV,
// 8-bit AIFF, FLAC, Ogg Vorbis, a 24-bit six-channel WAV and a 32-bit float WAV.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "audio/LoudnessMeter.h"
#include "audio/Mp3Decoder.h"
#include "audio/PreparedSound.h"
#include "audio/SoundFileDecoder.h"
#include "common/EditorError.h"
#include "fuzz/FuzzCheck.h"

namespace {

// Enough for any seed grown to libFuzzer's lengths; stops a header that makes a few bytes
// decode to hours of sound from slowing the run.
constexpr std::uint64_t kMostFrames = 4'000'000;

// The intake decodes MPEG audio with its own decoder: fed here in pieces of any size.
int DecodeMpegAudio(std::string_view bytes) {
  using namespace pwx;
  Mp3Decoder mpeg;
  std::vector<float> samples;
  const std::size_t piece = 1 + static_cast<unsigned char>(bytes.back()) % 251;
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    mpeg.Feed(bytes.substr(at, piece));
    samples.clear();
    mpeg.DecodeInto(samples);
    if (samples.empty()) continue;
    PWX_FUZZ_CHECK(mpeg.Format() && mpeg.Format()->Channels >= 1);
    PWX_FUZZ_CHECK(samples.size() % static_cast<std::size_t>(mpeg.Format()->Channels) == 0);
    for (const float sample : samples) PWX_FUZZ_CHECK(std::isfinite(sample));
  }
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pwx;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (StartsLikeMpegAudio(bytes)) return DecodeMpegAudio(bytes);
  std::unique_ptr<SoundFileDecoder> decoder;
  try {
    decoder = std::make_unique<SoundFileDecoder>(bytes, "fuzz.wav");
  } catch (const EditorError& refusal) {
    const std::string text = refusal.what();
    PWX_FUZZ_CHECK(text.rfind("\"fuzz.wav\" ", 0) == 0 && text.back() == '.');
    return 0;
  }
  if (decoder->IsMpegAudio()) return DecodeMpegAudio(bytes);
  const SoundFormat format = decoder->Format();
  PWX_FUZZ_CHECK(format.Rate >= 1000 && format.Rate <= 768000 && format.Channels >= 1);

  OpenedSound opened;
  opened.Places = decoder->Places();
  PWX_FUZZ_CHECK(opened.Places.size() == static_cast<std::size_t>(format.Channels));
  const SoundFileDecoder& source = *decoder;
  opened.Pcm = std::move(decoder);
  PreparedSound sound(std::move(opened));
  PWX_FUZZ_CHECK(sound.Channels() == (format.Channels == 1 ? 1 : 2));
  LoudnessMeter meter(PreparedSound::kRate, sound.Channels());
  for (std::span<float> block = sound.Next(); !block.empty(); block = sound.Next()) {
    PWX_FUZZ_CHECK(block.size() % static_cast<std::size_t>(sound.Channels()) == 0);
    for (const float sample : block) PWX_FUZZ_CHECK(std::isfinite(sample));
    meter.Add(block.data(), block.size() / static_cast<std::size_t>(sound.Channels()));
    if (sound.FramesGiven() > kMostFrames) return 0;
  }
  const double fraction = source.FractionRead();
  PWX_FUZZ_CHECK(fraction >= 0 && fraction <= 1);
  if (const auto loudness = meter.IntegratedLufs()) PWX_FUZZ_CHECK(std::isfinite(*loudness));
  if (const auto peak = meter.PeakDb()) PWX_FUZZ_CHECK(std::isfinite(*peak));
  return 0;
}
