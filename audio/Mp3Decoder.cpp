#include "audio/Mp3Decoder.h"

#include <algorithm>
#include <cstring>

#include "audio/MpegStream.h"
#include "audio/SoundFileDecoder.h"
#include "common/EditorError.h"
#include "common/FileReading.h"

namespace pwx {

namespace {

constexpr std::size_t kReadChunkBytes = 16 * 1024;  // decodes to a few hundred kB of samples
// How far into a file the first frame may lie (behind tags or junk) before the file counts as
// no MPEG audio: a large file of something else is then not searched to its end.
constexpr std::uint64_t kMostBytesBeforeFirstFrame = 16 * 1024 * 1024;

}  // namespace

bool StartsLikeMpegAudio(std::string_view head) {
  if (head.substr(0, 3) == "ID3") return true;
  if (head.size() < 3) return false;
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(head[at]); };
  const bool sync = byte(0) == 0xFF && (byte(1) & 0xE0) == 0xE0;
  const bool version = ((byte(1) >> 3) & 3) != 1;  // 1 is reserved
  const bool layer = ((byte(1) >> 1) & 3) != 0;    // 0 is reserved
  const bool bitrate = (byte(2) >> 4) != 15;       // 15 is forbidden
  const bool rate = ((byte(2) >> 2) & 3) != 3;     // 3 is reserved
  return sync && version && layer && bitrate && rate;
}

struct Mp3Decoder::Handle {
  MpegStream decoder{MpegStream::Samples::Float, true};
  std::optional<SoundFormat> first;
  SoundFormat current;
  int layer = 0;
  bool failed = false;

  void NoteFormat() {
    const MpegStream::Output output = decoder.OutputFormat();
    current = {output.Rate, output.Channels};
    if (!first) {
      first = current;
      layer = decoder.Frame().Layer;
    }
  }
};

Mp3Decoder::Mp3Decoder() : handle_(std::make_unique<Handle>()) {}

Mp3Decoder::~Mp3Decoder() = default;

void Mp3Decoder::Feed(std::string_view bytes) {
  if (handle_->failed || bytes.empty()) return;
  if (!handle_->decoder.Feed(bytes)) handle_->failed = true;
}

void Mp3Decoder::DecodeInto(std::vector<float>& samples) {
  Handle& h = *handle_;
  while (!h.failed) {
    std::string_view audio;
    const MpegStream::Step step = h.decoder.DecodeFrame(audio);
    if (step == MpegStream::Step::NeedMore) return;
    if (step == MpegStream::Step::NewFormat) {
      h.NoteFormat();
      continue;
    }
    if (step == MpegStream::Step::Failed) {
      // The decoder gave up: the sound decoded so far is what the stream holds.
      h.failed = true;
      return;
    }
    if (!h.first || !(h.current == *h.first) || audio.empty()) continue;
    const std::size_t count = audio.size() / sizeof(float);
    const std::size_t at = samples.size();
    samples.resize(at + count);
    std::memcpy(samples.data() + at, audio.data(), count * sizeof(float));
  }
}

std::optional<SoundFormat> Mp3Decoder::Format() const {
  return handle_->first;
}

int Mp3Decoder::Layer() const {
  return handle_->layer;
}

Mp3FileSource::Mp3FileSource(const std::string& path)
    : file_(std::make_unique<InputFile>(path)), buffer_(kReadChunkBytes) {
  if (file_->Size() == 0) throw EditorError(EmptySoundText(path));
  while (!decoder_.Format()) {
    if (bytesFed_ > kMostBytesBeforeFirstFrame || !FeedMore()) {
      throw EditorError(NotAudioText(path));
    }
  }
}

Mp3FileSource::~Mp3FileSource() = default;

bool Mp3FileSource::FeedMore() {
  const std::size_t got = file_->Read(buffer_.data(), buffer_.size());
  if (got == 0) return false;
  bytesFed_ += got;
  decoder_.Feed(std::string_view(buffer_.data(), got));
  decoder_.DecodeInto(pending_);
  return true;
}

SoundFormat Mp3FileSource::Format() const {
  return *decoder_.Format();
}

std::size_t Mp3FileSource::Read(float* samples, std::size_t frames) {
  const auto channels = static_cast<std::size_t>(Format().Channels);
  while (pending_.size() - pendingStart_ < frames * channels && FeedMore()) {
    // Decoded pieces pile up until the request is met; what was read is dropped first.
    if (pendingStart_ > 0) {
      pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(pendingStart_));
      pendingStart_ = 0;
    }
  }
  const std::size_t available = (pending_.size() - pendingStart_) / channels;
  const std::size_t given = std::min(frames, available);
  std::memcpy(samples, pending_.data() + pendingStart_, given * channels * sizeof(float));
  pendingStart_ += given * channels;
  if (pendingStart_ == pending_.size()) {
    pending_.clear();
    pendingStart_ = 0;
  }
  return given;
}

double Mp3FileSource::FractionRead() const {
  const std::uint64_t size = file_->Size();
  return size > 0 ? std::min(1.0, static_cast<double>(bytesFed_) / static_cast<double>(size)) : 1;
}

}  // namespace pwx
