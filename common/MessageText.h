#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pwx {

// How much of a user's text a message box quotes, and how much of a path: a path is
// longer by nature, and its start and its file name are what tell it apart.
inline constexpr std::size_t kLongestQuote = 60;
inline constexpr std::size_t kLongestPathQuote = 100;

// The text as a message box quotes it: whole up to 60 characters, else its start and end
// around an ellipsis in the middle, so that a pasted novel never makes a screen-wide box.
// Counts characters, not bytes, and never cuts one in half.
std::string QuoteForMessage(std::string_view text, std::size_t longest = kLongestQuote);

// A path as a message quotes it: whole up to 100 characters, else shortened in the middle.
inline std::string QuotePath(std::string_view path) {
  return QuoteForMessage(path, kLongestPathQuote);
}

// A size as people read it, in decimal units as storage is sold: "512 bytes", "10.3 kB",
// "48.2 MB", "1.9 GB".
std::string SizeText(std::uint64_t bytes);

// A number as a printf format for one double writes it: ("%.1f", 2.25) gives "2.2".
std::string FormattedNumber(const char* format, double value);

// "a, b, c": the texts joined with commas.
std::string JoinedWithCommas(const std::vector<std::string>& texts);

// "10,485,760": a number with its thousands marked, easier to compare.
std::string GroupedDigits(std::uint64_t number);

// The length of the well-formed UTF-8 sequence at the start of `text` (1 for an ASCII byte),
// 0 when it is not one (overlong forms, surrogates and code points past U+10FFFF included).
std::size_t Utf8SequenceLength(std::string_view text);

// The text as a terminal may be given it: control characters (C0, DEL, C1), the characters
// that reorder a line or break it (bidirectional marks, embeddings, overrides and isolates,
// the line and paragraph separators) and bytes that are not UTF-8 are shown as "\xNN", one
// per byte, so a name from a project folder can neither move the cursor, recolour or retitle
// the terminal, nor pass for another line. Other UTF-8 text ("ä", "日本") stays as it is. A
// backslash before an "x" is shown as "\x5c", so every "\x" of the result is an escape.
std::string TerminalText(std::string_view text);

}  // namespace pwx
