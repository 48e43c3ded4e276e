#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/EditorError.h"

namespace pwx {

// The columns of a site file, as its header row names them (any order, any case; spaces
// and hyphens count as underscores, so "Device ID" names device_id).
inline constexpr const char* kSiteRequiredColumns[] = {"player",    "location", "bus",
                                                       "device_id", "volume",   "project"};
inline constexpr const char* kSiteOptionalColumns[] = {"baud", "parity", "data_bits", "stop_bits",
                                                       "notes"};

// The longest cell a site file may hold: no name, path or setting is longer.
inline constexpr std::size_t kLongestSiteCell = 4096;

// One player of a site: its row of the site file, each cell as written (trimmed). An empty
// setting cell (baud, parity, data_bits, stop_bits, volume) keeps the template's value.
struct SitePlayer {
  std::size_t Line = 0;  // where its row starts in the site file
  std::string Name;
  std::string Location;
  std::string Bus;
  std::string DeviceId;
  std::string Volume;
  std::string Project;  // the template project's folder, relative to the site file's
  std::string Baud;
  std::string Parity;
  std::string DataBits;
  std::string StopBits;
  std::string Notes;
  bool operator==(const SitePlayer&) const = default;
};

// A site: many players on one or more buses, each prepared from a template project.
struct SiteFile {
  std::string Path;    // the site file; empty for one parsed from bytes
  std::string Folder;  // what `Project` is relative to, ending with a separator
  char Separator = ',';
  // The bytes were no UTF-8 and were read as the Windows code page 1252, as a spreadsheet
  // of a Western European locale writes.
  bool ReadAsWindows1252 = false;
  std::vector<std::string> Columns;  // the header's column names, in order
  std::vector<SitePlayer> Players;
  bool operator==(const SiteFile&) const = default;
};

// A site file that cannot be read as one: says what is wrong and where. Nothing is done
// with such a file.
class SiteFileError : public EditorError {
 public:
  using EditorError::EditorError;
};

// The site of a site file's bytes: UTF-8 with or without a byte-order mark (UTF-16 with its
// mark, or Windows-1252 when the bytes are no UTF-8), comma or semicolon separated, the
// header row first. Raises SiteFileError for an empty file, bytes that are no text or no
// CSV, a header lacking a column or naming an unknown one twice, a row with more cells than
// the header, or a cell longer than 4096 bytes. Rows whose cells are all empty are skipped.
SiteFile ParseSiteFile(std::string_view bytes);

// Reads a site file (at most 16 MiB). Raises SiteFileError, naming the file.
SiteFile ReadSiteFile(const std::string& path);

// The site as a site file: its columns in its order (the required ones added when missing),
// its separator, UTF-8 without a byte-order mark, CR LF line ends.
std::string SiteFileText(const SiteFile& site);

// The columns a site file is written with: its own, then the required ones it lacks.
std::vector<std::string> SiteColumns(const SiteFile& site);

// The cell of a player in a column named as in the header ("device_id"), or nullptr for a
// column that a site file does not have.
std::string* SiteCell(SitePlayer& player, std::string_view column);
const std::string* SiteCell(const SitePlayer& player, std::string_view column);

// "'Hall A / 3' (bus 1, Device ID 12)": the player as the prompts and messages name it.
std::string SitePlayerText(const SitePlayer& player);

}  // namespace pwx
