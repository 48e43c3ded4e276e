#include "devicefiles/PlayListFile.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "common/EditorError.h"
#include "common/FileReading.h"
#include "common/FileReplacement.h"
#include "common/IntegerText.h"
#include "model/Choices.h"

namespace pwx {
namespace {

// Where each field lives in the 512 bytes.
constexpr std::size_t kModeOffset = 8;
constexpr std::size_t kClipCountOffset = 32;
constexpr std::size_t kRepeatOffset = 96;
constexpr std::size_t kAlarmFlagOffset = 160;
constexpr std::size_t kClipListOffset = 256;
constexpr int kImageSlots = 64;  // the layout's room; the window edits the first 32
constexpr std::size_t kDumpBytesPerLine = 16;

constexpr std::array<std::uint8_t, 4> kSignature{0x5A, 0x35, 0x77, 0xA5};

std::size_t CheckedSlot(int slot) {
  if (slot < 0 || slot >= kImageSlots) {
    throw std::out_of_range("play-list slot " + std::to_string(slot) + " out of range");
  }
  return static_cast<std::size_t>(slot);
}

std::size_t ClipOffset(std::size_t slot, std::size_t k) {
  return kClipListOffset + 4 * slot + k;
}

void WriteSignature(PlayListImage& image) {
  std::copy(kSignature.begin(), kSignature.end(), image.Bytes.begin());
}

}  // namespace

void ResetPlayListImage(PlayListImage& image) {
  image.Bytes.fill(0);
  WriteSignature(image);
  std::fill_n(image.Bytes.begin() + kRepeatOffset, kImageSlots, std::uint8_t{1});
  image.Bytes[kModeOffset] = 0;
}

bool HasPlayListSignature(const PlayListImage& image) {
  return std::equal(kSignature.begin(), kSignature.end(), image.Bytes.begin());
}

std::int32_t ParseSlotField(const std::string& text, int& acceptedCount, DiagnosticLog& log) {
  if (text == kNoClip) return 0;
  if (auto value = TryParseInt32(text)) {
    ++acceptedCount;
    return *value;
  }
  log.Append("Str2Int Err");
  return 0;
}

std::string FormatClipNumber(std::uint8_t clip) {
  return clip == 0 ? std::string(kNoClip) : ThreeDigits(clip);
}

void StoreSlot(PlayListImage& image, int slot, const AlarmSlot& values, DiagnosticLog& log) {
  const std::size_t s = CheckedSlot(slot);
  auto& bytes = image.Bytes;

  // The list is a prefix: the first choice without a clip ends it, so a later clip is lost.
  int accepted = 0;
  for (std::size_t k = 0; k < kClipsPerSlot; ++k) bytes[ClipOffset(s, k)] = 0;
  for (std::size_t k = 0; k < kClipsPerSlot; ++k) {
    const auto clip = static_cast<std::uint8_t>(ParseSlotField(values.Clips[k], accepted, log));
    if (clip == 0) break;
    bytes[ClipOffset(s, k)] = clip;
  }
  bytes[kClipCountOffset + s] = accepted == 0 ? 1 : static_cast<std::uint8_t>(accepted);

  // The player never gets a repeat of 0: a text that gives 0 in its low byte stores 1.
  int unused = 0;
  const auto repeat = static_cast<std::uint8_t>(ParseSlotField(values.Repeat, unused, log));
  bytes[kRepeatOffset + s] = repeat == 0 ? 1 : repeat;
  bytes[kAlarmFlagOffset + s] = values.AlarmOutput ? 1 : 0;
}

PlayListImage PlayListASaveWrites(PlayListImage image, const AlarmProject& project,
                                  DiagnosticLog& log) {
  WriteSignature(image);
  image.Bytes[kModeOffset] = project.Mode.Value;
  for (int s = 0; s < kSlotCount; ++s)
    StoreSlot(image, s, project.Slots[static_cast<std::size_t>(s)], log);
  return image;
}

void CapturePlayList(PlayListImage& image, const AlarmProject& project, DiagnosticLog& log) {
  image = PlayListASaveWrites(image, project, log);
  for (auto& line : HexDumpLines(image)) log.Append(std::move(line));
}

std::uint8_t StoredClip(const PlayListImage& image, int slot, int k) {
  if (k < 0 || k >= kClipsPerSlot) throw std::out_of_range("clip choice out of range");
  return image.Bytes[ClipOffset(CheckedSlot(slot), static_cast<std::size_t>(k))];
}

std::uint8_t StoredRepeat(const PlayListImage& image, int slot) {
  return image.Bytes[kRepeatOffset + CheckedSlot(slot)];
}

bool StoredAlarmOutput(const PlayListImage& image, int slot) {
  // Only exactly 1 means ticked; anything else reads (and saves back) as not ticked.
  return image.Bytes[kAlarmFlagOffset + CheckedSlot(slot)] == 1;
}

std::vector<std::string> HexDumpLines(const PlayListImage& image) {
  std::vector<std::string> lines;
  lines.reserve(kPlayListSize / kDumpBytesPerLine);
  for (std::size_t offset = 0; offset < kPlayListSize; offset += kDumpBytesPerLine) {
    char text[8];
    std::snprintf(text, sizeof text, "[%04X]", static_cast<unsigned>(offset));
    std::string line = text;
    for (std::size_t i = 0; i < kDumpBytesPerLine; ++i) {
      std::snprintf(text, sizeof text, "%02X,", image.Bytes[offset + i]);
      line += text;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

UnpackedSlot UnpackSlot(const PlayListImage& image, int slot, DiagnosticLog& log) {
  UnpackedSlot result;
  for (int k = 0; k < static_cast<int>(kClipsPerSlot); ++k) {
    auto& text = result.RB_Str[static_cast<std::size_t>(k)];
    text = FormatClipNumber(StoredClip(image, slot, k));
    log.Append("RB_Str[" + std::to_string(k) + "] : " + text);
  }
  const std::uint8_t repeat = StoredRepeat(image, slot);
  result.Repeat = repeat == 0 ? "1" : std::to_string(repeat);
  result.AlarmOutput = StoredAlarmOutput(image, slot);
  return result;
}

void ApplyPlayList(const PlayListImage& image, AlarmProject& project,
                   const std::vector<std::string>& clipChoices, DiagnosticLog& log) {
  // A wrong signature is only noted; the image is shown anyway and the next save fixes it.
  log.Append(HasPlayListSignature(image) ? "Header compare pass" : "Header compare Err");

  const std::uint8_t mode = image.Bytes[kModeOffset];
  project.Mode.Value = mode;
  project.Mode.Text = std::to_string(mode);

  for (int s = 0; s < kSlotCount; ++s) {
    UnpackedSlot unpacked = UnpackSlot(image, s, log);
    AlarmSlot& row = project.Slots[static_cast<std::size_t>(s)];
    for (std::size_t k = 0; k < kClipsPerSlot; ++k) {
      row.Clips[k] = SelectClipChoice(clipChoices, unpacked.RB_Str[k]);
    }
    row.Repeat = std::move(unpacked.Repeat);
    row.AlarmOutput = unpacked.AlarmOutput;
  }
}

namespace {

struct Span {
  std::size_t Begin;
  std::size_t End;  // one past
};
constexpr Span kUnnamedSpans[] = {{4, 8}, {9, 32}, {64, 96}, {128, 160}, {192, 256}, {384, 512}};

std::vector<UnnamedRow> SplitIntoRows() {
  std::vector<UnnamedRow> rows;
  for (const Span& span : kUnnamedSpans) {
    for (std::size_t at = span.Begin; at < span.End;) {
      const std::size_t rowEnd =
          std::min(span.End, (at / kDumpBytesPerLine + 1) * kDumpBytesPerLine);
      rows.push_back({at, rowEnd - at});
      at = rowEnd;
    }
  }
  return rows;
}

}  // namespace

const std::vector<UnnamedRow>& UnnamedPlayListRows() {
  static const std::vector<UnnamedRow> rows = SplitIntoRows();
  return rows;
}

std::string RowKey(std::size_t offset) {
  char key[8];
  std::snprintf(key, sizeof key, "%04X", static_cast<unsigned>(offset));
  return key;
}

void CopyUnnamedBytes(PlayListImage& to, const PlayListImage& from) {
  for (const UnnamedRow& row : UnnamedPlayListRows()) {
    std::copy_n(from.Bytes.begin() + static_cast<std::ptrdiff_t>(row.Offset), row.Length,
                to.Bytes.begin() + static_cast<std::ptrdiff_t>(row.Offset));
  }
}

void ForgetClip(PlayListImage& image, std::uint8_t clip) {
  std::replace(image.Bytes.begin() + kClipListOffset, image.Bytes.end(), clip, std::uint8_t{0});
}

void LoadPlayListBytes(PlayListImage& image, std::string_view bytes) {
  const std::size_t count = std::min(bytes.size(), kPlayListSize);
  std::copy_n(reinterpret_cast<const std::uint8_t*>(bytes.data()), count, image.Bytes.begin());
}

void WritePlayListFile(PlayListImage& image, const AlarmProject& project,
                       const std::string& workDir, DiagnosticLog& log) {
  CapturePlayList(image, project, log);
  const std::string path = workDir + kPlayListFileName;
  ReplaceFile(path, std::string_view(reinterpret_cast<const char*>(image.Bytes.data()),
                                     image.Bytes.size()));
  log.Append("plist fname: " + path);
}

std::int64_t ReadPlayListFile(PlayListImage& image, const std::string& workDir,
                              DiagnosticLog& log) {
  const std::string path = workDir + kPlayListFileName;
  const FileRead read = ReadFile(path, kPlayListSize);
  // A pipe or device is refused outright; a file that cannot be opened reads as length -1.
  if (read.NotRegular) throw EditorError(read.Failure);
  log.Append("plist_fname Len: " + std::to_string(read.Size));
  // A longer file gives its first 512 bytes; a shorter one replaces only that many.
  if (read.Size > 0) LoadPlayListBytes(image, read.Bytes);
  return read.Size;
}

}  // namespace pwx
