#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pwx {

// Turns the bytes of a text file into UTF-8: a UTF-8 byte-order mark is dropped, UTF-16 LE
// and BE (with their marks) are converted; anything else is the system's 8-bit text, which
// on this platform is UTF-8 already, so its bytes are kept as they are.
std::string DecodeTextBytes(std::string_view bytes);

// Splits at CR LF, a lone CR or a lone LF; a line end at the very end starts no new line.
// Stops after `maxLines` lines.
std::vector<std::string> SplitLines(std::string_view text,
                                    std::size_t maxLines = static_cast<std::size_t>(-1));

// How many lines SplitLines would give, without making them.
std::size_t CountLines(std::string_view text);

// How much of a one-line file is read: a settings line or a folder path is far shorter, and a
// damaged or hostile file cannot make the editor read gigabytes for one line.
inline constexpr std::size_t kFirstLineReadLimit = 64 * 1024;

// The first line of a text file (of its first 64 KiB). A file without any line raises
// "List index out of bounds (0)"; one that cannot be read raises "Cannot open file ...".
std::string ReadFirstLine(const std::string& path);

}  // namespace pwx
