#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audio/PcmSource.h"

namespace pwx {

class InputFile;

// Whether the first bytes of a file are those of MPEG audio: an ID3v2 tag, or the header of an
// MPEG audio frame. Other files can hold bytes that look like a frame here and there.
bool StartsLikeMpegAudio(std::string_view head);

// Decodes MPEG audio fed piece by piece into 32-bit float samples with libmpg123. The encoder
// delay and padding a LAME tag announces are left out, and damage is passed over to the next
// frames, as the clip probe does; frames of another rate or channel count than the first
// (damage that looks like a frame) are left out as well.
class Mp3Decoder {
 public:
  Mp3Decoder();
  ~Mp3Decoder();
  Mp3Decoder(const Mp3Decoder&) = delete;
  Mp3Decoder& operator=(const Mp3Decoder&) = delete;

  // The next bytes of the stream.
  void Feed(std::string_view bytes);
  // Decodes every whole frame fed so far, appending interleaved samples to `samples`.
  void DecodeInto(std::vector<float>& samples);

  // The format of the first frame, once one is decoded.
  std::optional<SoundFormat> Format() const;
  // The MPEG audio layer of the first frame (3 for MP3), 0 before it.
  int Layer() const;

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

// Reads an MPEG audio file as decoded sound, streaming.
class Mp3FileSource final : public PcmSource {
 public:
  // Raises "Cannot open file ...", "... is not a regular file", the empty-file text or the
  // not-audio text when no MPEG audio frame is found.
  explicit Mp3FileSource(const std::string& path);
  ~Mp3FileSource() override;

  SoundFormat Format() const override;
  std::size_t Read(float* samples, std::size_t frames) override;
  double FractionRead() const override;
  // An MP3 without a Xing tag announces no length, and one with a tag may be cut short:
  // only decoding all of it tells.
  std::uint64_t FramesAnnounced() const override { return 0; }
  int Layer() const { return decoder_.Layer(); }

 private:
  // Feeds the next piece of the file; false at its end.
  bool FeedMore();

  std::unique_ptr<InputFile> file_;
  Mp3Decoder decoder_;
  std::vector<char> buffer_;
  std::vector<float> pending_;  // decoded, not yet read
  std::size_t pendingStart_ = 0;
  std::uint64_t bytesFed_ = 0;
};

}  // namespace pwx
