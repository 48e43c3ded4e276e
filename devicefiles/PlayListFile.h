#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/DiagnosticLog.h"
#include "model/AlarmProject.h"

namespace pwx {

inline constexpr std::size_t kPlayListSize = 512;
inline constexpr const char* kPlayListFileName = "plist.cfg";

// The 512-byte image of plist.cfg: signature, mode, and per slot a clip count, a repeat
// count, an alarm-output flag and four clip bytes. Bytes the window does not edit travel
// unchanged from the file that was loaded to the file that is written.
struct PlayListImage {
  std::array<std::uint8_t, kPlayListSize> Bytes{};
  bool operator==(const PlayListImage&) const = default;
};

// One slot decoded for the window: the four clip texts ("None" or "%03d"), the repeat
// text and whether "Alarm Output" is ticked.
struct UnpackedSlot {
  std::array<std::string, kClipsPerSlot> RB_Str;
  std::string Repeat;
  bool AlarmOutput = false;
};

// The new-project image: zeros, the signature, repeat 1 for all 64 slots, mode 0.
void ResetPlayListImage(PlayListImage& image);

// Whether the image starts with the play-list signature 5A 35 77 A5.
bool HasPlayListSignature(const PlayListImage& image);

// "None" gives 0; other texts convert as signed 32-bit decimal and count as accepted;
// a failure logs "Str2Int Err" and gives 0.
std::int32_t ParseSlotField(const std::string& text, int& acceptedCount, DiagnosticLog& log);

// 0 gives "None", other values "%03d".
std::string FormatClipNumber(std::uint8_t clip);

// Encodes one slot row into the image.
void StoreSlot(PlayListImage& image, int slot, const AlarmSlot& values, DiagnosticLog& log);

// Takes the mode and the 32 slot rows of the record into the image, then logs the image as
// a 32-line hex dump.
void CapturePlayList(PlayListImage& image, const AlarmProject& project, DiagnosticLog& log);

// The bytes a save would write from this image and record: CapturePlayList on a copy,
// without the dump (conversion failures still go to the log).
PlayListImage PlayListASaveWrites(PlayListImage image, const AlarmProject& project,
                                  DiagnosticLog& log);

// The clip number stored in clip choice k (0..3) of a slot, 0 for none.
std::uint8_t StoredClip(const PlayListImage& image, int slot, int k);

// The repeat count stored for a slot.
std::uint8_t StoredRepeat(const PlayListImage& image, int slot);

// Whether a slot's alarm output is stored as switched on (the byte 1, as loading reads it).
bool StoredAlarmOutput(const PlayListImage& image, int slot);

// The 32 hex-dump lines of the image, "[0000]5A,35,77,A5,...".
std::vector<std::string> HexDumpLines(const PlayListImage& image);

// Decodes one slot, logging "RB_Str[k] : " lines.
UnpackedSlot UnpackSlot(const PlayListImage& image, int slot, DiagnosticLog& log);

// Decodes the image into the record: the mode (text and byte), and every slot's clips
// (through the clip-choice rule), repeat text and alarm-output flag. Labelling the rows for
// the mode is the caller's.
void ApplyPlayList(const PlayListImage& image, AlarmProject& project,
                   const std::vector<std::string>& clipChoices, DiagnosticLog& log);

// A run of bytes of the image that no field of the window edits, which a save carries over
// from the file loaded: at most 16, within one 16-byte row of the image.
struct UnnamedRow {
  std::size_t Offset = 0;
  std::size_t Length = 0;
};
// The reserved bytes after the signature and after the mode, the counts, repeats and flags of
// slots 32..63, the reserved block and the clip lists of slots 32..63, row by row.
const std::vector<UnnamedRow>& UnnamedPlayListRows();

// "0004": a row's offset as four hex digits.
std::string RowKey(std::size_t offset);

// Copies the unnamed bytes of `from` into `to`, leaving the fields as they are.
void CopyUnnamedBytes(PlayListImage& to, const PlayListImage& from);

// Clears a clip number from every clip list of all 64 slots; counts are left alone.
void ForgetClip(PlayListImage& image, std::uint8_t clip);

// Copies the bytes of a play-list file into the image from offset 0: at most 512, and a
// shorter file leaves the rest of the image as it was.
void LoadPlayListBytes(PlayListImage& image, std::string_view bytes);

// CapturePlayList, then replaces workDir + "plist.cfg" with the 512 bytes and logs
// "plist fname: " + path. Raises the file error when the file cannot be written.
void WritePlayListFile(PlayListImage& image, const AlarmProject& project,
                       const std::string& workDir, DiagnosticLog& log);

// Reads workDir + "plist.cfg" into the image (its first 512 bytes at most), logs
// "plist_fname Len: " + the file's length, and returns that length (-1 when it cannot be
// opened, and then the image keeps its content). The caller applies the image when the
// length is not 0.
std::int64_t ReadPlayListFile(PlayListImage& image, const std::string& workDir, DiagnosticLog& log);

}  // namespace pwx
