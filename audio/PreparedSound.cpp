#include "audio/PreparedSound.h"

#include <cmath>

#include "audio/Mp3Decoder.h"
#include "audio/SoundFileDecoder.h"
#include "common/EditorError.h"
#include "common/FileReading.h"

namespace pwx {

namespace {

constexpr std::size_t kBlockFrames = 4096;
constexpr std::size_t kHeadBytes = 4;

}  // namespace

OpenedSound OpenSound(const std::string& path) {
  OpenedSound sound;
  // MPEG audio that starts with a frame goes to the editor's MPEG decoder straight away;
  // libsndfile tells the other formats, and MPEG audio that starts with something else. An
  // ID3 tag may stand before a FLAC or WAV as well as before MPEG audio, so libsndfile looks
  // at those first, and the MPEG decoder takes what it cannot read.
  const std::string head = ReadFile(path, kHeadBytes).TakeBytes();
  const bool tagged = head.substr(0, 3) == "ID3";
  if (tagged || !StartsLikeMpegAudio(head)) {
    std::unique_ptr<SoundFileDecoder> file = SoundFileDecoder::OpenIfKnown(path);
    if (!file && !tagged) throw EditorError(NotAudioText(path));
    if (file && !file->IsMpegAudio()) {
      sound.Places = file->Places();
      sound.Pcm = std::move(file);
      return sound;
    }
  }
  auto mpeg = std::make_unique<Mp3FileSource>(path);
  sound.MpegLayer = mpeg->Layer();
  sound.Places = UsualPlaces(mpeg->Format().Channels);
  sound.Pcm = std::move(mpeg);
  return sound;
}

PreparedSound::PreparedSound(OpenedSound sound) : source_(std::move(sound.Pcm)) {
  const SoundFormat format = source_->Format();
  channels_ = format.Channels > 2 ? 2 : format.Channels;
  if (format.Channels > 2) downmix_.emplace(sound.Places);
  if (format.Rate != kRate) {
    resampler_ = std::make_unique<Resampler>(static_cast<double>(format.Rate),
                                             static_cast<double>(kRate), channels_);
  }
  decoded_.resize(kBlockFrames * static_cast<std::size_t>(format.Channels));
}

PreparedSound::~PreparedSound() = default;

std::span<float> PreparedSound::Give(std::span<float> samples) {
  framesGiven_ += samples.size() / static_cast<std::size_t>(channels_);
  return samples;
}

std::span<float> PreparedSound::Next() {
  const auto sourceChannels = static_cast<std::size_t>(source_->Format().Channels);
  while (!ended_) {
    const std::size_t frames = source_->Read(decoded_.data(), kBlockFrames);
    if (frames == 0) {
      ended_ = true;
      if (!resampler_) return {};
      resampled_.clear();
      resampler_->Finish(resampled_);
      return Give(resampled_);
    }
    std::span<float> block(decoded_.data(), frames * sourceChannels);
    if (downmix_) {
      mixed_.resize(2 * frames);
      downmix_->Mix(decoded_.data(), frames, mixed_.data());
      block = mixed_;
    }
    if (!resampler_) return Give(block);
    resampled_.clear();
    resampler_->Process(block.data(), frames, resampled_);
    if (!resampled_.empty()) return Give(resampled_);
  }
  return {};
}

std::optional<double> PreparedSound::SecondsAnnounced() const {
  const std::uint64_t frames = source_->FramesAnnounced();
  if (frames == 0) return std::nullopt;
  return static_cast<double>(frames) / static_cast<double>(source_->Format().Rate);
}

TreatedSound::TreatedSound(PreparedSound& sound, const Treatment& treatment)
    : sound_(sound), gain_(static_cast<float>(std::pow(10.0, treatment.GainDb / 20))) {
  if (treatment.LimitDbtp) {
    limiter_ = std::make_unique<TruePeakLimiter>(PreparedSound::kRate, sound.Channels(),
                                                 *treatment.LimitDbtp, treatment.Peaks);
  }
}

std::span<float> TreatedSound::Next() {
  while (!finished_) {
    const std::span<float> block = sound_.Next();
    if (gain_ != 1) {
      for (float& sample : block) sample *= gain_;
    }
    if (!limiter_) {
      finished_ = block.empty();
      return block;
    }
    limited_.clear();
    if (block.empty()) {
      limiter_->Finish(limited_);
      finished_ = true;
      return limited_;
    }
    limiter_->Process(block.data(), block.size() / static_cast<std::size_t>(Channels()), limited_);
    if (!limited_.empty()) return limited_;
  }
  return {};
}

}  // namespace pwx
