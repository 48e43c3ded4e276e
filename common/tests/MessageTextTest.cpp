#include <gtest/gtest.h>

#include "common/FileReplacement.h"
#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

struct QuoteCase {
  const char* name;
  std::string text;
  std::string quoted;
};

class QuoteForMessageTest : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(QuoteForMessageTest, KeepsShortTextsAndElidesLongOnesInTheMiddle) {
  EXPECT_EQ(QuoteForMessage(GetParam().text, 9), GetParam().quoted);
}

INSTANTIATE_TEST_SUITE_P(
    Table, QuoteForMessageTest,
    ::testing::Values(QuoteCase{"Short", "abc", "abc"},
                      QuoteCase{"Exactly", "123456789", "123456789"},
                      QuoteCase{"OneOver", "1234567890",
                                "1234\xE2\x80\xA6"
                                "7890"},
                      // Nine characters of two or three bytes each are not too long.
                      QuoteCase{"WideButShort",
                                "\xC3\xA9\xC3\xA9\xC3\xA9\xE6\xB0\xB4\xE6\xB0\xB4"
                                "\xE6\xB0\xB4\xC3\xA9\xC3\xA9\xC3\xA9",
                                "\xC3\xA9\xC3\xA9\xC3\xA9\xE6\xB0\xB4\xE6\xB0\xB4\xE6\xB0\xB4"
                                "\xC3\xA9\xC3\xA9\xC3\xA9"},
                      // A long text of multi-byte characters is cut between characters.
                      QuoteCase{"NeverHalfACharacter", std::string(12, 'a') + "\xC3\xA9\xC3\xA9",
                                "aaaa\xE2\x80\xA6"
                                "aa\xC3\xA9\xC3\xA9"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QuoteForMessageTest, IntegerErrorQuotesAPastedNovelShortened) {
  const std::string novel = "It was a dark and stormy night" + std::string(10000, '.') + "end";
  const std::string error = testing::ErrorOf([&] { StrToInt(novel); });
  EXPECT_EQ(error, "'It was a dark and stormy nigh\xE2\x80\xA6" + std::string(27, '.') +
                       "end' is not a valid integer value");
}

TEST(QuoteForMessageTest, FileErrorsQuoteAPathFromAHandWrittenPointerShortened) {
  testing::TempFolder dir;
  const std::string path = dir.Dir() + std::string(20000, 'x') + "/plist.cfg";
  const std::string error = testing::ErrorOf([&] { ReplaceFile(path, "bytes"); });
  EXPECT_EQ(error, "Cannot create file \"" + QuotePath(path) + "\". File name too long");
  EXPECT_EQ(QuotePath(path).substr(QuotePath(path).size() - 20), "xxxxxxxxxx/plist.cfg");
  EXPECT_LT(error.size(), 160u);
}

TEST(QuoteForMessageTest, RoomForNothingButTheEllipsis) {
  EXPECT_EQ(QuoteForMessage("abc", 1), "\xE2\x80\xA6");
}

}  // namespace
}  // namespace pwx
