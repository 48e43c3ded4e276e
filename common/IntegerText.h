#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pwx {

// Signed 32-bit decimal with an optional leading sign; nothing else (no spaces, no hex,
// no empty text, no overflow).
std::optional<std::int32_t> TryParseInt32(std::string_view text);

// The same conversion, raising "'<text>' is not a valid integer value" on failure (a long
// text quoted shortened in the middle).
std::int32_t StrToInt(const std::string& text);

// A number as three-digit zero-padded decimal ("%03d"): 7 gives "007", 200 gives "200".
std::string ThreeDigits(int value);

}  // namespace pwx
