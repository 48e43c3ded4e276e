#include "common/IntegerText.h"

#include <charconv>
#include <cstdio>

#include "common/EditorError.h"
#include "common/MessageText.h"

namespace pwx {

std::optional<std::int32_t> TryParseInt32(std::string_view text) {
  if (text.empty()) return std::nullopt;
  bool negative = false;
  if (text.front() == '+' || text.front() == '-') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::int32_t StrToInt(const std::string& text) {
  if (auto value = TryParseInt32(text)) return *value;
  throw EditorError("'" + QuoteForMessage(text) + "' is not a valid integer value");
}

std::string ThreeDigits(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%03d", value);
  return buffer;
}

}  // namespace pwx
