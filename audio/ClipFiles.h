#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/DiagnosticLog.h"
#include "common/Outcome.h"

namespace pwx {

// The largest clip the player's buffer takes: 10 MiB.
inline constexpr std::int64_t kMaxClipBytes = 10 * 1048576;
inline constexpr const char* kClipTooLargeText = "File Size > then Buffer 10MB";

// Whether a file's name ends in ".mp3" in any letter case: what the import's file dialog
// offers, and so what a drop takes.
bool IsMp3FileName(const std::string& path);

// The suffixes of the sound files an import takes, MP3 first.
inline constexpr std::array<std::string_view, 7> kSoundFileSuffixes = {
    ".mp3", ".wav", ".flac", ".ogg", ".oga", ".aif", ".aiff"};

// Whether a file's name ends in one of those suffixes, in any letter case.
bool IsSoundFileName(const std::string& path);

// The file name of clip `number`'s copy: "%03d" + ".mp3".
std::string ClipFileName(int number);

// The project copy of clip `number`: workDir + "%03d" + ".mp3".
std::string ProjectCopyPath(const std::string& workDir, int number);

// Logs "Open FileLength => " + the size (-1 when it cannot be read) and says whether the file
// may be copied as a clip: refused when it cannot be read, is no regular file, or is larger
// than the player's buffer.
Outcome CheckClipSize(const std::string& path, DiagnosticLog& log);

// Copies the source into the project (replacing an earlier copy), safely and streaming.
// Raises the copy's error, or the size refusal when the source has grown past the player's
// buffer since it was checked; then nothing has changed on disk.
void CopyClipIntoProject(const std::string& source, const std::string& workDir, int number,
                         DiagnosticLog& log);

// Deletes a project copy of clip `number` if one exists. Raises when it stays.
void DeleteProjectCopy(const std::string& workDir, int number);

}  // namespace pwx
