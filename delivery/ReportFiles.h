#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pwx {

// Why a report may not be written to these files, or nothing when it may. A report never
// takes the place of one of the project's own files: plist.cfg, rtu.cfg, vol.cfg, Err1.mp3,
// m3fn.txt, 001.mp3 to 064.mp3 and PRJ.cfg in the project folder, and the start folder's
// PRJ.cfg. That is judged by what the paths lead to, whatever their spelling (a link, a bind
// mount, another spelling of the folder, letter case where the file system ignores it); a
// name of the project's own in the project folder is refused in any letter case, since the
// player's card would not tell them apart. Two outputs never name one file either. Other
// files in the project folder (a report.pdf, say) are allowed.
std::optional<std::string> RefusalOfReportFiles(const std::vector<std::string>& outputs,
                                                const std::string& projectFolder,
                                                const std::string& startFolder);

// Writes one file of a report whole or not at all (see FileReplacement): a link planted at
// its name is replaced, never followed. In the project folder it holds the folder's lock
// while it writes. Raises "Cannot create file ..." (the old file then stays as it was), or
// the folder's busy text.
void WriteReportFile(const std::string& path, std::string_view bytes,
                     const std::string& projectFolder);

}  // namespace pwx
