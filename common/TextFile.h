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
std::vector<std::string> SplitLines(std::string_view text);

// The whole file read as text lines. Raises "Cannot open file "<path>". <reason>".
std::vector<std::string> ReadTextFileLines(const std::string& path);

// The first line of a text file. A file without any line raises
// "List index out of bounds (0)".
std::string ReadFirstLine(const std::string& path);

}  // namespace pwx
