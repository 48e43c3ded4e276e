#include "common/MessageText.h"

#include <cstdio>
#include <iterator>
#include <vector>

namespace pwx {
namespace {

bool StartsCharacter(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

}  // namespace

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

}  // namespace pwx
