#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/EditorError.h"

namespace pwx {

// One record of a CSV text: its fields, unquoted, and the line it starts on (1-based).
struct CsvRecord {
  std::size_t Line = 0;
  std::vector<std::string> Fields;
};

// A CSV text that cannot be read as one: quoting that does not close, or a quote inside an
// unquoted field. Says where.
class CsvError : public EditorError {
 public:
  using EditorError::EditorError;
};

// The separator a spreadsheet wrote: ';' when the first line (outside quotes) holds more
// semicolons than commas, as spreadsheets in locales with a decimal comma write; else ','.
char DetectCsvSeparator(std::string_view text);

// The records of a UTF-8 CSV text (RFC 4180: fields in double quotes may hold the separator,
// line breaks and doubled quotes; CR LF, LF or CR end a record). Empty lines are no record.
// A record is refused once a field passes `longestField` bytes, so that a damaged file costs
// bounded memory. Raises CsvError naming the line.
std::vector<CsvRecord> ParseCsv(std::string_view text, char separator,
                                std::size_t longestField = 1 << 20);

// One record as a CSV line ending in CR LF: a field is quoted when it holds the separator, a
// quote, a line break or leading or trailing spaces.
std::string CsvLine(const std::vector<std::string>& fields, char separator = ',');

}  // namespace pwx
