#include "common/TextFile.h"

#include <algorithm>
#include <cstring>

#include "common/EditorError.h"
#include "common/FileReading.h"

namespace pwx {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::size_t kReadChunkBytes = 64 * 1024;
constexpr char32_t kReplacementCharacter = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// Whether more bytes could still turn `held` into a byte-order mark.
bool CouldBecomeMark(std::string_view held) {
  for (std::string_view mark : {kUtf8Mark, kUtf16LeMark, kUtf16BeMark}) {
    if (held.size() < mark.size() && StartsWith(mark, held)) return true;
  }
  return false;
}

// The next CR or LF at or after `from`, found with memchr at memory speed.
class LineEndFinder {
 public:
  explicit LineEndFinder(std::string_view text)
      : text_(text), nextCr_(Find('\r', 0)), nextLf_(Find('\n', 0)) {}
  std::size_t Next(std::size_t from) {
    if (nextCr_ < from) nextCr_ = Find('\r', from);
    if (nextLf_ < from) nextLf_ = Find('\n', from);
    return std::min(nextCr_, nextLf_);
  }

 private:
  std::size_t Find(char c, std::size_t from) const {
    if (from >= text_.size()) return std::string_view::npos;
    const void* at = std::memchr(text_.data() + from, c, text_.size() - from);
    return at ? static_cast<std::size_t>(static_cast<const char*>(at) - text_.data())
              : std::string_view::npos;
  }
  std::string_view text_;
  std::size_t nextCr_;
  std::size_t nextLf_;
};

}  // namespace

void TextDecoder::Feed(std::string_view bytes, std::string& out) {
  if (encoding_ == Encoding::Undecided) {
    held_.append(bytes);
    Decide(false, out);
    return;
  }
  if (encoding_ == Encoding::AsIs) {
    out.append(bytes);
  } else {
    DecodeUtf16(bytes, out);
  }
}

void TextDecoder::Finish(std::string& out) {
  if (encoding_ == Encoding::Undecided) Decide(true, out);
  // A byte left over from an odd length is no character; a high surrogate without its pair
  // cannot be written as UTF-8.
  if (highSurrogate_ != 0) AppendUtf8(out, kReplacementCharacter);
  highSurrogate_ = 0;
  held_.clear();
}

void TextDecoder::Decide(bool final, std::string& out) {
  std::string_view start = held_;
  if (StartsWith(start, kUtf8Mark)) {
    encoding_ = Encoding::AsIs;
    start.remove_prefix(kUtf8Mark.size());
  } else if (StartsWith(start, kUtf16LeMark) || StartsWith(start, kUtf16BeMark)) {
    encoding_ = StartsWith(start, kUtf16LeMark) ? Encoding::Utf16Le : Encoding::Utf16Be;
    start.remove_prefix(kUtf16LeMark.size());
  } else if (!final && CouldBecomeMark(start)) {
    return;
  } else {
    encoding_ = Encoding::AsIs;
  }
  const std::string rest(start);
  held_.clear();
  Feed(rest, out);
}

void TextDecoder::DecodeUtf16(std::string_view bytes, std::string& out) {
  const bool bigEndian = encoding_ == Encoding::Utf16Be;
  auto take = [&](unsigned char b0, unsigned char b1) {
    const auto unit = static_cast<char32_t>(bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0));
    if (unit >= 0xDC00 && unit < 0xE000 && highSurrogate_ != 0) {
      AppendUtf8(out, 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00));
      highSurrogate_ = 0;
      return;
    }
    if (highSurrogate_ != 0) AppendUtf8(out, kReplacementCharacter);
    highSurrogate_ = 0;
    if (unit >= 0xD800 && unit < 0xDC00) {
      highSurrogate_ = unit;
    } else {
      AppendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? kReplacementCharacter : unit);
    }
  };
  std::size_t i = 0;
  if (!held_.empty() && !bytes.empty()) {
    take(static_cast<unsigned char>(held_[0]), static_cast<unsigned char>(bytes[0]));
    held_.clear();
    i = 1;
  }
  for (; i + 1 < bytes.size(); i += 2) {
    take(static_cast<unsigned char>(bytes[i]), static_cast<unsigned char>(bytes[i + 1]));
  }
  if (i < bytes.size()) held_.assign(1, bytes[i]);
}

void LineSplitter::Feed(std::string_view text) {
  std::size_t at = 0;
  if (afterCr_ && !text.empty()) {
    afterCr_ = false;
    if (text.front() == '\n') at = 1;  // the LF of a CR LF split between two pieces
  }
  LineEndFinder finder(text);
  while (at < text.size()) {
    const std::size_t end = finder.Next(at);
    const std::size_t stop = end == std::string_view::npos ? text.size() : end;
    if (stop > at) {
      Take(text.substr(at, stop - at));
      lineOpen_ = true;
    }
    if (end == std::string_view::npos) break;
    EndLine();
    at = end + 1;
    if (text[end] == '\r') {
      if (at == text.size()) {
        afterCr_ = true;
      } else if (text[at] == '\n') {
        ++at;
      }
    }
  }
}

void LineSplitter::Take(std::string_view piece) {
  if (count_ >= keep_ || currentCut_) return;
  if (piece.size() > longest_ - current_.size()) {
    currentCut_ = true;
    std::string().swap(current_);
    return;
  }
  current_.append(piece);
}

void LineSplitter::EndLine() {
  if (count_ < keep_) {
    if (currentCut_) cut_.push_back(count_ + 1);
    lines_.push_back(std::move(current_));
  }
  current_.clear();
  currentCut_ = false;
  lineOpen_ = false;
  ++count_;
}

void LineSplitter::Finish() {
  if (lineOpen_) EndLine();
  afterCr_ = false;
}

void LineSplitter::CutOff() {
  if (lineOpen_) {
    currentCut_ = true;
    std::string().swap(current_);
  }
  Finish();
}

std::string DecodeTextBytes(std::string_view bytes) {
  TextDecoder decoder;
  std::string text;
  decoder.Feed(bytes, text);
  decoder.Finish(text);
  return text;
}

std::vector<std::string> SplitLines(std::string_view text, std::size_t maxLines) {
  LineSplitter splitter(maxLines);
  splitter.Feed(text);
  splitter.Finish();
  return std::move(splitter.Lines());
}

std::size_t CountLines(std::string_view text) {
  LineSplitter splitter(0);
  splitter.Feed(text);
  splitter.Finish();
  return splitter.Count();
}

namespace {

// Decodes and splits bytes as they come.
class TextLineReader {
 public:
  explicit TextLineReader(const LineBounds& bounds)
      : splitter_(bounds.KeepLines, bounds.LongestLine) {}
  void Feed(std::string_view bytes) {
    text_.clear();
    decoder_.Feed(bytes, text_);
    splitter_.Feed(text_);
  }
  TextLines Finish(std::uint64_t fileSize, bool truncated) {
    text_.clear();
    if (!truncated) decoder_.Finish(text_);
    splitter_.Feed(text_);
    if (truncated) {
      splitter_.CutOff();
    } else {
      splitter_.Finish();
    }
    return TextLines{std::move(splitter_.Lines()), splitter_.CutLines(), splitter_.Count(),
                     fileSize, truncated};
  }

 private:
  TextDecoder decoder_;
  LineSplitter splitter_;
  std::string text_;
};

}  // namespace

TextLines TextLinesOf(std::string_view bytes, const LineBounds& bounds) {
  TextLineReader reader(bounds);
  const std::size_t size = bytes.size();
  const bool truncated = size > bounds.ReadLimit;
  reader.Feed(truncated ? bytes.substr(0, static_cast<std::size_t>(bounds.ReadLimit)) : bytes);
  return reader.Finish(size, truncated);
}

TextLines ReadTextLines(const std::string& path, const LineBounds& bounds) {
  TextLineReader reader(bounds);
  const StreamedRead read = ReadFileInChunks(path, kReadChunkBytes, bounds.ReadLimit,
                                             [&](std::string_view bytes) { reader.Feed(bytes); });
  return reader.Finish(read.Truncated ? read.FileSize : read.BytesRead, read.Truncated);
}

std::string ReadFirstLine(const std::string& path) {
  auto lines = SplitLines(DecodeTextBytes(ReadFile(path, kFirstLineReadLimit).TakeBytes()), 1);
  if (lines.empty()) throw EditorError("List index out of bounds (0)");
  return lines.front();
}

}  // namespace pwx
