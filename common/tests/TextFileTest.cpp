#include <gtest/gtest.h>

#include "common/EditorError.h"
#include "common/TextFile.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

using Lines = std::vector<std::string>;

struct SplitCase {
  const char* name;
  std::string bytes;
  Lines lines;
};

class TextLinesTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(TextLinesTest, DecodeAndSplit) {
  EXPECT_EQ(SplitLines(DecodeTextBytes(GetParam().bytes)), GetParam().lines);
}

// Files are read in pieces, so a mark, a CR LF or a UTF-16 character may be cut anywhere.
TEST_P(TextLinesTest, GiveTheSameLinesWhereverThePiecesAreCut) {
  const std::string& bytes = GetParam().bytes;
  for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
    TextDecoder decoder;
    LineSplitter splitter;
    for (std::string_view piece :
         {std::string_view(bytes).substr(0, cut), std::string_view(bytes).substr(cut)}) {
      std::string text;
      decoder.Feed(piece, text);
      splitter.Feed(text);
    }
    std::string rest;
    decoder.Finish(rest);
    splitter.Feed(rest);
    splitter.Finish();
    EXPECT_EQ(splitter.Lines(), GetParam().lines) << "cut after byte " << cut;
    EXPECT_EQ(splitter.Count(), GetParam().lines.size());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextLinesTest,
    ::testing::Values(
        SplitCase{"Empty", "", {}}, SplitCase{"OnlyBom", "\xEF\xBB\xBF", {}},
        SplitCase{"CrLf", "a\r\nb\r\n", {"a", "b"}}, SplitCase{"Lf", "a\nb", {"a", "b"}},
        SplitCase{"LoneCr", "a\rb\r", {"a", "b"}},
        SplitCase{"Mixed", "a\r\n\nb\rc", {"a", "", "b", "c"}},
        SplitCase{"EmptyLines", "\r\n\r\n", {"", ""}},
        SplitCase{"CrCrLf", "a\r\r\nb", {"a", "", "b"}},
        SplitCase{"Utf8Bom", "\xEF\xBB\xBFx/y/\r\n", {"x/y/"}},
        SplitCase{"Utf16Le", std::string("\xFF\xFE/\0a\0\r\0\n\0b\0", 12), {"/a", "b"}},
        SplitCase{"Utf16Be", std::string("\xFE\xFF\0/\0a\0\n\0b", 10), {"/a", "b"}},
        SplitCase{
            "Utf16LeNonAscii", std::string("\xFF\xFE\xE9\0\x34\x6C", 6), {"\xC3\xA9\xE6\xB0\xB4"}},
        SplitCase{"Utf16LeSurrogatePair",
                  std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6),
                  {"\xF0\x9F\x98\x80"}},
        SplitCase{"EightBitKept", "caf\xE9\r\n", {"caf\xE9"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SplitLines, StopsAtTheLimitWhileCountLinesCountsAll) {
  const std::string text = "a\r\nb\rc\nd";
  EXPECT_EQ(SplitLines(text, 2), (Lines{"a", "b"}));
  EXPECT_EQ(CountLines(text), 4u);
  EXPECT_EQ(CountLines("a\r\n"), 1u);
  EXPECT_EQ(CountLines(""), 0u);
  EXPECT_EQ(CountLines("\n\n\n"), 3u);
}

TEST(LineSplitter, CutsOutLinesLongerThanTheLimitButCountsThem) {
  LineSplitter splitter(3, 4);
  splitter.Feed("abcd\r\nabc");
  splitter.Feed("de\nxy\nafter the kept lines, any length\n");
  splitter.Finish();
  EXPECT_EQ(splitter.Lines(), (Lines{"abcd", "", "xy"}));
  EXPECT_EQ(splitter.CutLines(), std::vector<std::size_t>{2});
  EXPECT_EQ(splitter.Count(), 4u);
}

TEST(ReadTextLines, ReadsAFileInPiecesWithItsSize) {
  testing::TempFolder dir;
  // A CR LF across the 64 KiB boundary of the reads, and a line far too long.
  const std::string first(64 * 1024 - 1, 'a');
  testing::WriteFile(dir / "map.txt", first + "\r\n" + std::string(300000, 'b') + "\nlast");
  const TextLines lines = ReadTextLines(dir / "map.txt", {64, 70000});
  EXPECT_EQ(lines.Lines, (Lines{first, "", "last"}));
  EXPECT_EQ(lines.CutLines, std::vector<std::size_t>{2});
  EXPECT_EQ(lines.FileSize, first.size() + 2 + 300000 + 5);
  EXPECT_FALSE(lines.Truncated);
}

TEST(ReadTextLines, StopsAtTheReadLimitAndCutsTheLineItStoppedIn) {
  testing::TempFolder dir;
  testing::WriteFile(dir / "map.txt", "one\ntwo\nthree is long\nfour\n");
  const TextLines lines = ReadTextLines(dir / "map.txt", {64, kNoLimit, 10});
  EXPECT_EQ(lines.Lines, (Lines{"one", "two", ""}));
  EXPECT_EQ(lines.CutLines, std::vector<std::size_t>{3});
  EXPECT_EQ(lines.Count, 3u);
  EXPECT_TRUE(lines.Truncated);
  EXPECT_EQ(lines.FileSize, 27u);
  // Stopping right after a line end cuts nothing.
  const TextLines atLineEnd = ReadTextLines(dir / "map.txt", {64, kNoLimit, 8});
  EXPECT_EQ(atLineEnd.Lines, (Lines{"one", "two"}));
  EXPECT_TRUE(atLineEnd.CutLines.empty());
}

TEST(ReadFirstLine, ReadsNoMoreThanItsLimit) {
  testing::TempFolder dir;
  testing::WriteFile(dir / "huge.cfg", std::string(kFirstLineReadLimit + 10, ','));
  EXPECT_EQ(ReadFirstLine(dir / "huge.cfg").size(), kFirstLineReadLimit);
}

TEST(ReadFirstLine, TakesOnlyTheFirstLineUntrimmed) {
  testing::TempFolder dir;
  testing::WriteFile(dir / "a.cfg", " /p/q/ \r\nsecond\r\n");
  EXPECT_EQ(ReadFirstLine(dir / "a.cfg"), " /p/q/ ");
}

TEST(ReadFirstLine, FileWithoutLinesIsAnError) {
  testing::TempFolder dir;
  testing::WriteFile(dir / "empty.cfg", "");
  try {
    ReadFirstLine(dir / "empty.cfg");
    FAIL();
  } catch (const EditorError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (0)");
  }
}

TEST(ReadFirstLine, MissingFileNamesPathAndReason) {
  testing::TempFolder dir;
  try {
    ReadFirstLine(dir / "nope.cfg");
    FAIL();
  } catch (const EditorError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot open file \"" + (dir / "nope.cfg") + "\". No such file or directory");
  }
}

}  // namespace
}  // namespace pwx
