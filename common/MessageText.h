#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pwx {

// How much of a user's text a message box quotes.
inline constexpr std::size_t kLongestQuote = 60;

// The text as a message box quotes it: whole up to 60 characters, else its start and end
// around an ellipsis in the middle, so that a pasted novel never makes a screen-wide box.
// Counts characters, not bytes, and never cuts one in half.
std::string QuoteForMessage(std::string_view text, std::size_t longest = kLongestQuote);

}  // namespace pwx
