#include "delivery/SiteFile.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "common/CsvTable.h"
#include "common/FileReading.h"
#include "common/FileSystem.h"
#include "common/MessageText.h"
#include "common/TextFile.h"

namespace pwx {

namespace {

constexpr std::uint64_t kLongestSiteFile = 16 * 1024 * 1024;

std::string ColumnName(std::string_view header) {
  std::string name;
  for (const char c : header) {
    const auto u = static_cast<unsigned char>(c);
    name += (c == ' ' || c == '-') ? '_' : static_cast<char>(std::tolower(u));
  }
  return name;
}

bool KnownColumn(const std::string& name) {
  const auto is = [&](const char* known) { return name == known; };
  return std::any_of(std::begin(kSiteRequiredColumns), std::end(kSiteRequiredColumns), is) ||
         std::any_of(std::begin(kSiteOptionalColumns), std::end(kSiteOptionalColumns), is);
}

bool ValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t length = c < 0x80           ? 1
                               : (c >> 5) == 0x6  ? 2
                               : (c >> 4) == 0xE  ? 3
                               : (c >> 3) == 0x1E ? 4
                                                  : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

void AppendUtf8(char32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Windows-1252 into UTF-8: Latin-1, with its own letters and signs at 0x80 to 0x9F.
std::string FromWindows1252(std::string_view bytes) {
  static constexpr char16_t kHigh[32] = {
      0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
  std::string out;
  for (const char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    AppendUtf8(u >= 0x80 && u < 0xA0 ? kHigh[u - 0x80] : u, out);
  }
  return out;
}

std::string Trimmed(std::string text) {
  const auto space = [](unsigned char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && space(static_cast<unsigned char>(text.back()))) text.pop_back();
  std::size_t from = 0;
  while (from < text.size() && space(static_cast<unsigned char>(text[from]))) ++from;
  return text.substr(from);
}

std::vector<std::string> HeaderColumns(const CsvRecord& header) {
  std::vector<std::string> columns;
  for (const std::string& cell : header.Fields) {
    const std::string name = ColumnName(Trimmed(cell));
    if (!KnownColumn(name)) {
      throw SiteFileError("The header row names the column " + QuoteForMessage(name) +
                          ", which a site file does not have; its columns are player, location, "
                          "bus, device_id, volume, project, baud, parity, data_bits, stop_bits "
                          "and notes.");
    }
    if (std::find(columns.begin(), columns.end(), name) != columns.end()) {
      throw SiteFileError("The header row names the column " + name + " twice.");
    }
    columns.push_back(name);
  }
  std::vector<std::string> missing;
  for (const char* required : kSiteRequiredColumns) {
    if (std::find(columns.begin(), columns.end(), required) == columns.end()) {
      missing.emplace_back(required);
    }
  }
  if (!missing.empty()) {
    throw SiteFileError("The header row (line " + std::to_string(header.Line) +
                        ") lacks the column" + (missing.size() == 1 ? " " : "s ") +
                        JoinedWithCommas(missing) +
                        "; a site file's first row names its columns: player, location, bus, "
                        "device_id, volume and project, and optionally baud, parity, data_bits, "
                        "stop_bits and notes.");
  }
  return columns;
}

}  // namespace

std::string* SiteCell(SitePlayer& player, std::string_view column) {
  if (column == "player") return &player.Name;
  if (column == "location") return &player.Location;
  if (column == "bus") return &player.Bus;
  if (column == "device_id") return &player.DeviceId;
  if (column == "volume") return &player.Volume;
  if (column == "project") return &player.Project;
  if (column == "baud") return &player.Baud;
  if (column == "parity") return &player.Parity;
  if (column == "data_bits") return &player.DataBits;
  if (column == "stop_bits") return &player.StopBits;
  if (column == "notes") return &player.Notes;
  return nullptr;
}

const std::string* SiteCell(const SitePlayer& player, std::string_view column) {
  return SiteCell(const_cast<SitePlayer&>(player), column);
}

SiteFile ParseSiteFile(std::string_view bytes) {
  if (bytes.find('\0') != std::string_view::npos &&
      !(bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                              (bytes[0] == '\xFE' && bytes[1] == '\xFF')))) {
    throw SiteFileError("The site file is no text (it holds zero bytes): a site file is CSV.");
  }
  SiteFile site;
  std::string text = DecodeTextBytes(bytes);
  if (!ValidUtf8(text)) {
    text = FromWindows1252(text);
    site.ReadAsWindows1252 = true;
  }
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
    throw SiteFileError(
        "The site file is empty: its first row names the columns player, location, bus, "
        "device_id, volume and project, and each row after it is one player.");
  }
  site.Separator = DetectCsvSeparator(text);
  std::vector<CsvRecord> records;
  try {
    records = ParseCsv(text, site.Separator, kLongestSiteCell);
  } catch (const CsvError& error) {
    throw SiteFileError(error.what());
  }
  site.Columns = HeaderColumns(records.front());
  for (std::size_t r = 1; r < records.size(); ++r) {
    const CsvRecord& record = records[r];
    if (record.Fields.size() > site.Columns.size()) {
      throw SiteFileError("Line " + std::to_string(record.Line) + " has " +
                          std::to_string(record.Fields.size()) + " cells, the header only " +
                          std::to_string(site.Columns.size()) + ".");
    }
    SitePlayer player;
    player.Line = record.Line;
    bool any = false;
    for (std::size_t c = 0; c < record.Fields.size(); ++c) {
      std::string cell = Trimmed(record.Fields[c]);
      any = any || !cell.empty();
      *SiteCell(player, site.Columns[c]) = std::move(cell);
    }
    if (any) site.Players.push_back(std::move(player));
  }
  return site;
}

SiteFile ReadSiteFile(const std::string& path) {
  std::string bytes;
  try {
    InputFile file(path);
    if (file.Size() > kLongestSiteFile) {
      throw SiteFileError("The site file " + QuotePath(path) + " is " + SizeText(file.Size()) +
                          ": far larger than any site file; is it the right file?");
    }
    bytes.resize(static_cast<std::size_t>(file.Size()));
    std::size_t got = 0;
    while (got < bytes.size()) {
      const std::size_t n = file.Read(bytes.data() + got, bytes.size() - got);
      if (n == 0) break;
      got += n;
    }
    bytes.resize(got);
  } catch (const SiteFileError&) {
    throw;
  } catch (const EditorError& error) {
    throw SiteFileError(error.what());
  }
  try {
    SiteFile site = ParseSiteFile(bytes);
    site.Path = path;
    const std::size_t slash = path.find_last_of("/\\");
    site.Folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    return site;
  } catch (const SiteFileError& error) {
    throw SiteFileError(QuotePath(path) + ": " + error.what());
  }
}

std::vector<std::string> SiteColumns(const SiteFile& site) {
  std::vector<std::string> columns = site.Columns;
  for (const char* required : kSiteRequiredColumns) {
    if (std::find(columns.begin(), columns.end(), required) == columns.end()) {
      columns.emplace_back(required);
    }
  }
  return columns;
}

std::string SiteFileText(const SiteFile& site) {
  const std::vector<std::string> columns = SiteColumns(site);
  std::string text = CsvLine(columns, site.Separator);
  for (const SitePlayer& player : site.Players) {
    std::vector<std::string> cells;
    for (const std::string& column : columns) cells.push_back(*SiteCell(player, column));
    text += CsvLine(cells, site.Separator);
  }
  return text;
}

std::string SitePlayerText(const SitePlayer& player) {
  return "'" + player.Name + "' (bus " + player.Bus + ", Device ID " + player.DeviceId + ")";
}

}  // namespace pwx
