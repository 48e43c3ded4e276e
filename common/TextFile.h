#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace pwx {

inline constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

// Turns the bytes of a text file into UTF-8, piece by piece as they are read: a UTF-8
// byte-order mark is dropped, UTF-16 LE and BE (with their marks) are converted; anything
// else is the system's 8-bit text, which on this platform is UTF-8 already, so its bytes
// are kept as they are. A lone surrogate becomes the replacement character.
class TextDecoder {
 public:
  // Appends the text of the next bytes to `out`.
  void Feed(std::string_view bytes, std::string& out);
  // Appends what the last bytes still held back.
  void Finish(std::string& out);

 private:
  enum class Encoding { Undecided, AsIs, Utf16Le, Utf16Be };
  void Decide(bool final, std::string& out);
  void DecodeUtf16(std::string_view bytes, std::string& out);

  Encoding encoding_ = Encoding::Undecided;
  std::string held_;  // the start while the mark is undecided, or a lone byte of UTF-16
  char32_t highSurrogate_ = 0;
};

// Splits text fed piece by piece at CR LF, a lone CR or a lone LF; a line end at the very end
// starts no new line. Keeps the first `keepLines` lines and only counts the rest. A kept line
// longer than `longestLine` bytes is cut out: it is kept as an empty line and its number
// noted, so a damaged or hostile file costs no more memory than the lines worth keeping.
class LineSplitter {
 public:
  explicit LineSplitter(std::size_t keepLines = kNoLimit, std::size_t longestLine = kNoLimit)
      : keep_(keepLines), longest_(longestLine) {}

  void Feed(std::string_view text);
  // Ends the text: a last line without its line end counts.
  void Finish();
  // Ends the text where reading stopped short: a line still open is cut out, since what
  // was read of it is only a piece.
  void CutOff();

  std::vector<std::string>& Lines() { return lines_; }
  // 1-based numbers of the kept lines that were too long.
  const std::vector<std::size_t>& CutLines() const { return cut_; }
  // Every line of the text, kept or not.
  std::size_t Count() const { return count_; }

 private:
  void Take(std::string_view piece);
  void EndLine();

  std::size_t keep_;
  std::size_t longest_;
  std::vector<std::string> lines_;
  std::vector<std::size_t> cut_;
  std::string current_;
  bool currentCut_ = false;
  bool lineOpen_ = false;
  bool afterCr_ = false;
  std::size_t count_ = 0;
};

// The whole text of a file's bytes as UTF-8 (see TextDecoder).
std::string DecodeTextBytes(std::string_view bytes);

// All lines of a text, or the first `maxLines`.
std::vector<std::string> SplitLines(std::string_view text, std::size_t maxLines = kNoLimit);

// How many lines SplitLines would give, without making them.
std::size_t CountLines(std::string_view text);

// The lines of a text file, read and decoded in pieces (see TextDecoder and LineSplitter).
struct TextLines {
  std::vector<std::string> Lines;
  std::vector<std::size_t> CutLines;
  std::size_t Count = 0;       // lines of what was read
  std::uint64_t FileSize = 0;  // the size of the file (of the bytes, when given bytes)
  bool Truncated = false;      // the file held more than was read
};

// What to keep of a text file: the first lines, each up to a length, and at most how much of
// the file to read at all.
struct LineBounds {
  std::size_t KeepLines = kNoLimit;
  std::size_t LongestLine = kNoLimit;
  std::uint64_t ReadLimit = kNoLimit;
};

// Reads the lines of the bytes of a text file.
TextLines TextLinesOf(std::string_view bytes, const LineBounds& bounds);

// Reads the lines of a file in constant memory and bounded time, whatever its size. Raises
// "Cannot open file ..." or "... is not a regular file".
TextLines ReadTextLines(const std::string& path, const LineBounds& bounds);

// How much of a one-line file is read: a settings line or a folder path is far shorter, and a
// damaged or hostile file cannot make the editor read gigabytes for one line.
inline constexpr std::size_t kFirstLineReadLimit = 64 * 1024;

// The first line of a text file (of its first 64 KiB). A file without any line raises
// "List index out of bounds (0)"; one that cannot be read raises "Cannot open file ..." or
// "... is not a regular file".
std::string ReadFirstLine(const std::string& path);

}  // namespace pwx
