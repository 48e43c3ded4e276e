#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "audio/ChannelDownmix.h"
#include "audio/Mp3Encoder.h"
#include "audio/PcmSource.h"
#include "audio/Resampler.h"
#include "audio/TruePeakLimiter.h"

namespace pwx {

// A sound file opened for decoding, by what its bytes are, whatever its name.
struct OpenedSound {
  std::unique_ptr<PcmSource> Pcm;
  std::vector<SpeakerPlace> Places;  // of each channel
  int MpegLayer = 0;                 // 1 to 3 for MPEG audio (3: MP3), 0 for other formats
};

// Opens a sound file by what its bytes are: MPEG audio with the editor's MPEG decoder, every
// other format with libsndfile. Raises "Cannot open file ...", "... is not a regular file", "... is
// empty: it holds no sound." or "... is not an audio file this editor can read."
OpenedSound OpenSound(const std::string& path);

// A decoded sound as the encoder takes it, block by block: one channel stays one, two stay
// two, more are mixed to stereo; any rate is brought to 44,100 Hz.
class PreparedSound {
 public:
  // The rate the encoder writes.
  static constexpr long kRate = Mp3Encoder::kRate;

  explicit PreparedSound(OpenedSound sound);
  ~PreparedSound();
  PreparedSound(const PreparedSound&) = delete;
  PreparedSound& operator=(const PreparedSound&) = delete;

  int Channels() const { return channels_; }
  // The next block of interleaved samples, which the caller may change; empty at the end.
  // Valid until the next call.
  std::span<float> Next();
  // How much of the source has been read, from 0 to 1.
  double FractionRead() const { return source_->FractionRead(); }
  // The frames given so far.
  std::uint64_t FramesGiven() const { return framesGiven_; }
  // The length the source announces, in seconds; none when it does not say.
  std::optional<double> SecondsAnnounced() const;

 private:
  std::span<float> Give(std::span<float> samples);

  std::unique_ptr<PcmSource> source_;
  int channels_ = 0;
  std::optional<StereoDownmix> downmix_;
  std::unique_ptr<Resampler> resampler_;
  std::vector<float> decoded_;
  std::vector<float> mixed_;
  std::vector<float> resampled_;
  std::uint64_t framesGiven_ = 0;
  bool ended_ = false;
};

// What levelling does to a sound on its way to the encoder: a gain, and a true-peak limiter
// when the gain would take peaks past the ceiling.
struct Treatment {
  double GainDb = 0;
  std::optional<double> LimitDbtp;  // the limiter's ceiling; none for no limiter
  // Where the limiter finds peaks: at the samples only for an estimate of the loudness.
  TruePeakLimiter::Peaks Peaks = TruePeakLimiter::Peaks::BetweenSamples;
};

// A prepared sound with a treatment applied, block by block, as long as the sound.
class TreatedSound {
 public:
  TreatedSound(PreparedSound& sound, const Treatment& treatment);

  int Channels() const { return sound_.Channels(); }
  // The next block of interleaved samples, which the caller may change; empty at the end.
  std::span<float> Next();
  // How far the limiter took the highest peak down so far, in dB; 0 without a limiter.
  double LimitedDb() const { return limiter_ ? limiter_->PeakReductionDb() : 0; }

 private:
  PreparedSound& sound_;
  float gain_ = 1;
  std::unique_ptr<TruePeakLimiter> limiter_;
  std::vector<float> limited_;
  bool finished_ = false;
};

}  // namespace pwx
