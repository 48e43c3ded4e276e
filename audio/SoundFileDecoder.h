#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "audio/ChannelDownmix.h"
#include "audio/PcmSource.h"

namespace pwx {

// "<path>" is not an audio file this editor can read.
std::string NotAudioText(const std::string& path);

// "<path>" is empty: it holds no sound.
std::string EmptySoundText(const std::string& path);

// Decodes WAV, FLAC, Ogg (Vorbis, Opus, FLAC), AIFF and the other formats of libsndfile,
// streaming: memory stays the same whatever the file's length. A file cut short gives the
// sound that is there. In a damaged float file, samples that are no number come out as
// silence and huge ones are held at 60 dB over full scale.
class SoundFileDecoder final : public PcmSource {
 public:
  // Opens a regular file. Raises "Cannot open file ...", "... is not a regular file", the
  // empty-file text or the not-audio text.
  explicit SoundFileDecoder(const std::string& path);
  // Decodes bytes in memory, which must outlive the decoder; messages call them `name`.
  SoundFileDecoder(std::string_view bytes, const std::string& name);
  // Opens a regular file, or gives none when its bytes are no format libsndfile knows. Raises
  // like the constructor otherwise.
  static std::unique_ptr<SoundFileDecoder> OpenIfKnown(const std::string& path);
  ~SoundFileDecoder() override;
  SoundFileDecoder(const SoundFileDecoder&) = delete;
  SoundFileDecoder& operator=(const SoundFileDecoder&) = delete;

  SoundFormat Format() const override;
  std::size_t Read(float* samples, std::size_t frames) override;
  double FractionRead() const override;
  std::uint64_t FramesAnnounced() const override;

  // Where each channel is meant to be played, as the file says or in the usual order.
  std::vector<SpeakerPlace> Places() const;
  // Whether the file is MPEG audio (an MP3), which the editor decodes with its own decoder.
  bool IsMpegAudio() const;

 private:
  struct File;
  explicit SoundFileDecoder(std::unique_ptr<File> file);

  std::unique_ptr<File> file_;
};

}  // namespace pwx
