#include "common/MessageText.h"

#include <cstdio>
#include <iterator>
#include <vector>

namespace pwx {
namespace {

bool StartsCharacter(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

char32_t CodePoint(std::string_view sequence) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(sequence[i]); };
  if (sequence.size() == 1) return byte(0);
  char32_t point = byte(0) & (0x7F >> sequence.size());
  for (std::size_t i = 1; i < sequence.size(); ++i) point = point << 6 | (byte(i) & 0x3F);
  return point;
}

// Characters a terminal acts on or that change how the line around them reads.
bool IsHiddenControl(char32_t point) {
  return (point >= 0x80 && point <= 0x9F) ||                       // C1 controls
         point == 0x061C || point == 0x200E || point == 0x200F ||  // bidirectional marks
         (point >= 0x2028 && point <= 0x202E) ||                   // separators, embeddings
         (point >= 0x2066 && point <= 0x2069);                     // isolates
}

void AppendEscaped(std::string& out, std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
  }
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead < 0x80) {
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

std::string TerminalText(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    if (c == '\\' && at + 1 < text.size() && text[at + 1] == 'x') {
      AppendEscaped(shown, text.substr(at, 1));
      ++at;
      continue;
    }
    const std::size_t valid = Utf8SequenceLength(text.substr(at));
    const std::size_t length = valid == 0 ? 1 : valid;  // a stray byte is escaped alone
    const std::string_view sequence = text.substr(at, length);
    const auto lead = static_cast<unsigned char>(c);
    if (valid == 0 || lead < 0x20 || lead == 0x7F ||
        (valid > 1 && IsHiddenControl(CodePoint(sequence)))) {
      AppendEscaped(shown, sequence);
    } else {
      shown.append(sequence);
    }
    at += length;
  }
  return shown;
}

std::string QuoteForMessage(std::string_view text, std::size_t longest) {
  // Where each character starts; a stray continuation byte counts with the one before.
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (StartsCharacter(text[i]) || starts.empty()) starts.push_back(i);
  }
  if (starts.size() <= longest) return std::string(text);
  const std::size_t room = longest == 0 ? 0 : longest - 1;  // the ellipsis takes one
  const std::size_t head = room / 2;
  const std::size_t tail = room - head;
  const std::string end = tail == 0 ? "" : std::string(text.substr(starts[starts.size() - tail]));
  return std::string(text.substr(0, starts[head])) + "\xE2\x80\xA6" + end;
}

std::string SizeText(std::uint64_t bytes) {
  if (bytes < 1000) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  static constexpr const char* kUnits[] = {"kB", "MB", "GB", "TB"};
  double value = static_cast<double>(bytes) / 1000;
  std::size_t unit = 0;
  while (value >= 999.95 && unit + 1 < std::size(kUnits)) {
    value /= 1000;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
  return text;
}

std::string JoinedWithCommas(const std::vector<std::string>& texts) {
  std::string joined;
  for (const auto& text : texts) {
    if (!joined.empty()) joined += ", ";
    joined += text;
  }
  return joined;
}

std::string GroupedDigits(std::uint64_t number) {
  std::string digits = std::to_string(number);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<std::size_t>(at), 1, ',');
  }
  return digits;
}

std::string FormattedNumber(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace pwx
