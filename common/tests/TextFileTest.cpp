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

class TextLines : public ::testing::TestWithParam<SplitCase> {};

TEST_P(TextLines, DecodeAndSplit) {
  EXPECT_EQ(SplitLines(DecodeTextBytes(GetParam().bytes)), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextLines,
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
