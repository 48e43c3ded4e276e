#include "audio/SoundFileDecoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "common/EditorError.h"
#include "common/FileReading.h"
#include "common/MessageText.h"

namespace pwx {

std::string NotAudioText(const std::string& path) {
  std::string text(1, '"');
  text += QuotePath(path);
  text += "\" is not an audio file this editor can read.";
  return text;
}

std::string EmptySoundText(const std::string& path) {
  std::string text(1, '"');
  text += QuotePath(path);
  text += "\" is empty: it holds no sound.";
  return text;
}

namespace {

// Rates the intake can bring to 44,100 Hz; anything else is a damaged header.
constexpr int kLowestRate = 1000;
constexpr int kHighestRate = 768000;
// Float files may go past full scale, but not by 60 dB: larger samples are damage, and are
// held there so that mixing, resampling and measuring stay finite.
constexpr float kLargestSample = 1000;

std::string UnusableRateText(const std::string& path, int rate) {
  std::string text(1, '"');
  text += QuotePath(path);
  text += "\" has a sample rate of ";
  text += std::to_string(rate);
  text += " Hz, which this editor cannot convert.";
  return text;
}

SpeakerPlace PlaceOf(int channelMap) {
  switch (channelMap) {
    case SF_CHANNEL_MAP_LEFT:
    case SF_CHANNEL_MAP_FRONT_LEFT:
    case SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER:
      return SpeakerPlace::FrontLeft;
    case SF_CHANNEL_MAP_RIGHT:
    case SF_CHANNEL_MAP_FRONT_RIGHT:
    case SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER:
      return SpeakerPlace::FrontRight;
    case SF_CHANNEL_MAP_MONO:
    case SF_CHANNEL_MAP_CENTER:
    case SF_CHANNEL_MAP_FRONT_CENTER:
      return SpeakerPlace::FrontCentre;
    case SF_CHANNEL_MAP_LFE:
      return SpeakerPlace::LowFrequency;
    case SF_CHANNEL_MAP_REAR_LEFT:
    case SF_CHANNEL_MAP_SIDE_LEFT:
      return SpeakerPlace::SurroundLeft;
    case SF_CHANNEL_MAP_REAR_RIGHT:
    case SF_CHANNEL_MAP_SIDE_RIGHT:
      return SpeakerPlace::SurroundRight;
    case SF_CHANNEL_MAP_REAR_CENTER:
      return SpeakerPlace::BackCentre;
    default:
      return SpeakerPlace::Other;
  }
}

}  // namespace

// The bytes libsndfile reads, from a file or from memory, behind its virtual I/O. Errors of
// the file are kept and raised once libsndfile has returned: none is thrown through its code.
struct SoundFileDecoder::File {
  std::string name;
  std::optional<InputFile> input;
  std::string_view memory;
  std::uint64_t size = 0;
  std::uint64_t position = 0;      // where libsndfile reads next
  std::uint64_t filePosition = 0;  // where the file's own position is
  std::string failure;             // the first read error
  SNDFILE* sound = nullptr;
  SF_INFO info{};
  std::uint64_t framesRead = 0;

  sf_count_t ReadBytes(void* into, sf_count_t count) {
    if (count <= 0 || position >= size || !failure.empty()) return 0;
    const auto wanted = static_cast<std::size_t>(
        std::min<std::uint64_t>(static_cast<std::uint64_t>(count), size - position));
    if (!input) {
      std::memcpy(into, memory.data() + position, wanted);
      position += wanted;
      return static_cast<sf_count_t>(wanted);
    }
    std::size_t got = 0;
    try {
      if (filePosition != position) input->Seek(position);
      filePosition = position;
      while (got < wanted) {
        const std::size_t piece = input->Read(static_cast<char*>(into) + got, wanted - got);
        if (piece == 0) break;  // the file shrank since it was opened
        got += piece;
      }
    } catch (const EditorError& error) {
      failure = error.what();
    }
    position += got;
    filePosition = position;
    return static_cast<sf_count_t>(got);
  }

  sf_count_t SeekTo(sf_count_t offset, int whence) {
    sf_count_t base = 0;
    if (whence == SEEK_CUR) base = static_cast<sf_count_t>(position);
    if (whence == SEEK_END) base = static_cast<sf_count_t>(size);
    if (offset < -base || offset > SF_COUNT_MAX - base) return -1;  // before the start, or absurd
    position = static_cast<std::uint64_t>(base + offset);
    return static_cast<sf_count_t>(position);
  }

  // Whether libsndfile knows the bytes.
  bool Open() {
    if (size == 0) throw EditorError(EmptySoundText(name));
    static SF_VIRTUAL_IO io = {
        [](void* self) { return static_cast<sf_count_t>(static_cast<File*>(self)->size); },
        [](sf_count_t offset, int whence, void* self) {
          return static_cast<File*>(self)->SeekTo(offset, whence);
        },
        [](void* into, sf_count_t count, void* self) {
          return static_cast<File*>(self)->ReadBytes(into, count);
        },
        [](const void*, sf_count_t, void*) { return sf_count_t{0}; },
        [](void* self) { return static_cast<sf_count_t>(static_cast<File*>(self)->position); },
    };
    sound = sf_open_virtual(&io, SFM_READ, &info, this);
    std::string refusal = failure;
    if (refusal.empty() && sound && info.channels >= 1 &&
        (info.samplerate < kLowestRate || info.samplerate > kHighestRate)) {
      refusal = UnusableRateText(name, info.samplerate);
    }
    if (refusal.empty() && sound && info.channels >= 1) return true;
    Close();
    if (!refusal.empty()) throw EditorError(refusal);
    return false;
  }

  void Close() {
    if (sound) sf_close(sound);
    sound = nullptr;
  }
};

SoundFileDecoder::SoundFileDecoder(const std::string& path) : file_(std::make_unique<File>()) {
  file_->name = path;
  file_->input.emplace(path);
  file_->size = file_->input->Size();
  if (!file_->Open()) throw EditorError(NotAudioText(path));
}

SoundFileDecoder::SoundFileDecoder(std::string_view bytes, const std::string& name)
    : file_(std::make_unique<File>()) {
  file_->name = name;
  file_->memory = bytes;
  file_->size = bytes.size();
  if (!file_->Open()) throw EditorError(NotAudioText(name));
}

SoundFileDecoder::SoundFileDecoder(std::unique_ptr<File> file) : file_(std::move(file)) {}

std::unique_ptr<SoundFileDecoder> SoundFileDecoder::OpenIfKnown(const std::string& path) {
  auto file = std::make_unique<File>();
  file->name = path;
  file->input.emplace(path);
  file->size = file->input->Size();
  if (!file->Open()) return nullptr;
  return std::unique_ptr<SoundFileDecoder>(new SoundFileDecoder(std::move(file)));
}

SoundFileDecoder::~SoundFileDecoder() {
  file_->Close();
}

SoundFormat SoundFileDecoder::Format() const {
  return {file_->info.samplerate, file_->info.channels};
}

std::size_t SoundFileDecoder::Read(float* samples, std::size_t frames) {
  File& f = *file_;
  const sf_count_t got = sf_readf_float(f.sound, samples, static_cast<sf_count_t>(frames));
  if (!f.failure.empty()) throw EditorError(f.failure);
  if (got <= 0) return 0;
  const std::size_t count =
      static_cast<std::size_t>(got) * static_cast<std::size_t>(f.info.channels);
  for (std::size_t i = 0; i < count; ++i) {
    float& sample = samples[i];
    sample = std::isfinite(sample) ? std::clamp(sample, -kLargestSample, kLargestSample) : 0;
  }
  f.framesRead += static_cast<std::uint64_t>(got);
  return static_cast<std::size_t>(got);
}

double SoundFileDecoder::FractionRead() const {
  const std::uint64_t announced = FramesAnnounced();
  const double fraction =
      announced > 0 ? static_cast<double>(file_->framesRead) / static_cast<double>(announced)
                    : static_cast<double>(file_->position) / static_cast<double>(file_->size);
  return std::clamp(fraction, 0.0, 1.0);
}

std::uint64_t SoundFileDecoder::FramesAnnounced() const {
  const sf_count_t frames = file_->info.frames;
  return frames > 0 && frames < SF_COUNT_MAX ? static_cast<std::uint64_t>(frames) : 0;
}

std::vector<SpeakerPlace> SoundFileDecoder::Places() const {
  const int channels = file_->info.channels;
  std::vector<int> map(static_cast<std::size_t>(channels));
  if (sf_command(file_->sound, SFC_GET_CHANNEL_MAP_INFO, map.data(),
                 static_cast<int>(map.size() * sizeof(int))) != SF_TRUE) {
    return UsualPlaces(channels);
  }
  std::vector<SpeakerPlace> places;
  for (const int place : map) places.push_back(PlaceOf(place));
  return places;
}

bool SoundFileDecoder::IsMpegAudio() const {
  return (file_->info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG;
}

}  // namespace pwx
