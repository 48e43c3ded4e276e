// The one place that uses libcsv.
#include "common/CsvTable.h"

#include <csv.h>

#include <optional>

namespace pwx {

namespace {

// What the parser's callbacks build, line by line.
struct Collector {
  std::size_t longest = 0;
  std::size_t line = 0;                    // the line being fed
  std::optional<std::size_t> recordStart;  // where the record in progress began
  bool eventInLine = false;
  bool lastWasRecordEnd = true;
  std::optional<std::size_t> tooLongAt;
  std::vector<std::string> fields;
  std::vector<CsvRecord> records;
};

void OnField(void* data, std::size_t size, void* target) {
  auto& collector = *static_cast<Collector*>(target);
  collector.eventInLine = true;
  collector.lastWasRecordEnd = false;
  if (size > collector.longest && !collector.tooLongAt) {
    collector.tooLongAt = collector.recordStart.value_or(collector.line);
  }
  collector.fields.emplace_back(data == nullptr ? "" : std::string(static_cast<char*>(data), size));
}

void OnRecordEnd(int, void* target) {
  auto& collector = *static_cast<Collector*>(target);
  collector.eventInLine = true;
  collector.lastWasRecordEnd = true;
  collector.records.push_back(
      {collector.recordStart.value_or(collector.line), std::move(collector.fields)});
  collector.fields.clear();
  collector.recordStart.reset();
}

class Parser {
 public:
  explicit Parser(char separator) {
    if (csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI | CSV_APPEND_NULL) != 0) {
      throw CsvError("The CSV reader cannot start: out of memory.");
    }
    csv_set_delim(&parser_, static_cast<unsigned char>(separator));
    csv_set_blk_size(&parser_, 4096);
  }
  ~Parser() { csv_free(&parser_); }
  Parser(const Parser&) = delete;
  Parser& operator=(const Parser&) = delete;

  // Feeds a piece in bites, so that a field growing past the longest is stopped while it
  // grows, not once it ends.
  void Feed(std::string_view piece, Collector& collector) {
    constexpr std::size_t kBite = 4096;
    for (std::size_t at = 0; at < piece.size() && !collector.tooLongAt; at += kBite) {
      const std::string_view bite = piece.substr(at, kBite);
      if (csv_parse(&parser_, bite.data(), bite.size(), OnField, OnRecordEnd, &collector) !=
          bite.size()) {
        Fail(collector.recordStart.value_or(collector.line));
      }
      if (parser_.entry_pos > collector.longest && !collector.tooLongAt) {
        collector.tooLongAt = collector.recordStart.value_or(collector.line);
      }
    }
  }
  void Finish(Collector& collector) {
    if (csv_fini(&parser_, OnField, OnRecordEnd, &collector) != 0) {
      Fail(collector.recordStart.value_or(collector.line));
    }
  }

 private:
  [[noreturn]] void Fail(std::size_t line) {
    const int error = csv_error(&parser_);
    throw CsvError(error == CSV_EPARSE
                       ? "Line " + std::to_string(line) +
                             " is not CSV: a quote opens a field that does not close, or stands "
                             "inside a field that is not quoted."
                       : std::string("The CSV reader failed: ") + csv_strerror(error));
  }
  csv_parser parser_{};
};

}  // namespace

char DetectCsvSeparator(std::string_view text) {
  std::size_t commas = 0;
  std::size_t semicolons = 0;
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\n' || c == '\r') break;
    if (c == ',') ++commas;
    if (c == ';') ++semicolons;
  }
  return semicolons > commas ? ';' : ',';
}

std::vector<CsvRecord> ParseCsv(std::string_view text, char separator, std::size_t longestField) {
  Collector collector;
  collector.longest = longestField;
  Parser parser(separator);
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find('\n', at);
    const std::string_view piece =
        text.substr(at, end == std::string_view::npos ? std::string_view::npos : end + 1 - at);
    ++collector.line;
    collector.eventInLine = false;
    parser.Feed(piece, collector);
    if (collector.tooLongAt) {
      throw CsvError("Line " + std::to_string(*collector.tooLongAt) +
                     " holds a field longer than " + std::to_string(longestField) + " bytes.");
    }
    // A line that left a record open (a quoted field running on) starts that record.
    const bool blank = piece.find_first_not_of("\r\n") == std::string_view::npos;
    if (!blank && (!collector.eventInLine || !collector.lastWasRecordEnd)) {
      collector.recordStart = collector.recordStart.value_or(collector.line);
    }
    at += piece.size();
  }
  parser.Finish(collector);
  if (collector.tooLongAt) {
    throw CsvError("Line " + std::to_string(*collector.tooLongAt) + " holds a field longer than " +
                   std::to_string(longestField) + " bytes.");
  }
  return std::move(collector.records);
}

std::string CsvLine(const std::vector<std::string>& fields, char separator) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += separator;
    const std::string& field = fields[i];
    const bool quote =
        field.find_first_of(std::string("\"\r\n") + separator) != std::string::npos ||
        (!field.empty() && (field.front() == ' ' || field.back() == ' '));
    if (!quote) {
      line += field;
      continue;
    }
    std::string quoted(2 * field.size() + 3, '\0');
    const std::size_t size = csv_write2(quoted.data(), quoted.size(), field.data(), field.size(),
                                        static_cast<unsigned char>('"'));
    line.append(quoted.data(), size);
  }
  return line + "\r\n";
}

}  // namespace pwx
