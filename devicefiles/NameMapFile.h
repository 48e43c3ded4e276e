#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/DiagnosticLog.h"
#include "model/AudioLibrary.h"

namespace pwx {

inline constexpr const char* kNameMapFileName = "m3fn.txt";

// The longest path the system allows, in bytes of UTF-8: a longer line of the map is no
// path, whatever else it is.
#ifdef _WIN32
inline constexpr std::size_t kLongestPath = 32767 * 3;
#else
inline constexpr std::size_t kLongestPath = 4096;
#endif

// The bytes of m3fn.txt: UTF-8 byte-order mark, then the 64 source paths in number order,
// each followed by CR LF (an empty line for a free number).
std::string EncodeNameMap(const AudioLibrary& library);

// The most of m3fn.txt that is ever read: 64 of the longest paths with their line ends,
// even in UTF-16, and the byte-order mark. A longer file is no name map in full, and reading
// it to its end could keep the window waiting for minutes.
inline constexpr std::size_t kNameMapReadLimit = 2 * kLibrarySize * (kLongestPath + 2) + 3;

// What reading a name map left out: clips whose lines were too long to be paths, and the
// first clip whose line lies past the read limit (0 when the whole file was read).
struct NameMapOmissions {
  std::vector<int> CutClips;
  int FirstUnreadClip = 0;

  bool Any() const { return !CutClips.empty() || FirstUnreadClip != 0; }
  bool operator==(const NameMapOmissions&) const = default;
};

// Replaces the whole library with what the bytes hold: line k is the source path of clip k,
// the shown name follows from it. The text is UTF-8, or UTF-16 after its byte-order mark;
// bytes that are not valid UTF-8 are kept as they are. Missing lines leave their numbers
// free; lines after the 64th are ignored; a line longer than any path, and whatever lies
// past the read limit, is left out and leaves its number free. Logs "list->Count: " and one
// "Short_FN: " line per number.
NameMapOmissions DecodeNameMap(std::string_view bytes, AudioLibrary& library, DiagnosticLog& log);

// Writes workDir + "m3fn.txt" and logs "M3FN fname: " + path. Raises the file error.
void SaveNameMap(const AudioLibrary& library, const std::string& workDir, DiagnosticLog& log);

// Empties the library, reads workDir + "m3fn.txt" into it as DecodeNameMap does, in
// constant memory and bounded time whatever the file's size, and logs "m3fn_fname Len: " +
// the file's size. Puts the number of lines the file holds into `lineCount` when given.
// Raises "Cannot open file ..." or "... is not a regular file" when the file cannot be read
// (the library then stays empty).
NameMapOmissions LoadNameMap(AudioLibrary& library, const std::string& workDir, DiagnosticLog& log,
                             std::size_t* lineCount = nullptr);

// The name map as it stands on disk now, read as LoadNameMap reads it but without a trace;
// nothing when there is none or it cannot be read.
std::optional<AudioLibrary> NameMapOnDisk(const std::string& workDir);

// Takes into `library` the lines of the map on disk that another program changed since this
// one last read or wrote the map (`known`): each clip whose source on disk differs from the
// known one, except `own`, the clip this change sets itself (0 for none). Returns the clips
// taken, in number order. A clip changed only here keeps what this program holds.
std::vector<int> TakeOtherProgramsLines(AudioLibrary& library, const AudioLibrary& known,
                                        const AudioLibrary& onDisk, int own);

// What the status line says about clips taken from another program's changes; empty for
// none.
std::string OtherProgramsNotice(const std::vector<int>& clips);

// What the status line says about what was left out, once for all of it; empty when
// nothing was.
std::string OmissionsNotice(const NameMapOmissions& omissions);

}  // namespace pwx
