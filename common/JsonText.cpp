#include "common/JsonText.h"

#include <cstdio>

#include "common/MessageText.h"

namespace pwx {

namespace {

constexpr const char* kReplacement = "\\ufffd";

}  // namespace

std::string JsonString(std::string_view text) {
  std::string json = "\"";
  json.reserve(text.size() + 2);
  for (std::size_t at = 0; at < text.size();) {
    const auto c = static_cast<unsigned char>(text[at]);
    if (c >= 0x80) {
      const std::size_t length = Utf8SequenceLength(text.substr(at));
      if (length == 0) {
        json += kReplacement;
        ++at;
      } else {
        json.append(text.substr(at, length));
        at += length;
      }
      continue;
    }
    switch (c) {
      case '"':
        json += "\\\"";
        break;
      case '\\':
        json += "\\\\";
        break;
      case '\n':
        json += "\\n";
        break;
      case '\r':
        json += "\\r";
        break;
      case '\t':
        json += "\\t";
        break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          json += escaped;
        } else {
          json += static_cast<char>(c);
        }
    }
    ++at;
  }
  return json + "\"";
}

}  // namespace pwx
