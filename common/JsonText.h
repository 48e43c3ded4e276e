#pragma once

#include <string>
#include <string_view>

namespace pwx {

// `text` as a JSON string with its quotes: quotes, backslashes and control characters are
// escaped, and bytes that are not UTF-8 (a file name from another system) become U+FFFD,
// so the result is always valid JSON.
std::string JsonString(std::string_view text);

}  // namespace pwx
