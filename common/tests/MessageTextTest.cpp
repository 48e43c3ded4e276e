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

struct TerminalCase {
  const char* name;
  std::string text;
  std::string shown;
};

void PrintTo(const TerminalCase& terminal, std::ostream* out) {
  *out << terminal.name;
}

// Reads the escapes back, to show that the shown text names exactly one original.
std::string Unescaped(const std::string& shown) {
  std::string text;
  for (std::size_t at = 0; at < shown.size(); ++at) {
    if (shown.compare(at, 2, "\\x") == 0 && at + 4 <= shown.size()) {
      text += static_cast<char>(std::stoi(shown.substr(at + 2, 2), nullptr, 16));
      at += 3;
    } else {
      text += shown[at];
    }
  }
  return text;
}

class TerminalTextTest : public ::testing::TestWithParam<TerminalCase> {};

TEST_P(TerminalTextTest, EscapesWhatATerminalWouldActOnAndNothingElse) {
  const std::string shown = TerminalText(GetParam().text);
  EXPECT_EQ(shown, GetParam().shown);
  EXPECT_EQ(Unescaped(shown), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TerminalTextTest,
    ::testing::Values(
        TerminalCase{"Plain", "/media/card/001.mp3", "/media/card/001.mp3"},
        TerminalCase{"Umlaut", "Durchsage \xC3\xA4", "Durchsage \xC3\xA4"},
        TerminalCase{"Japanese", "\xE6\x97\xA5\xE6\x9C\xAC.mp3", "\xE6\x97\xA5\xE6\x9C\xAC.mp3"},
        TerminalCase{"FourBytes", "\xF0\x9F\x94\x94", "\xF0\x9F\x94\x94"},
        TerminalCase{"Colour", "\x1B[31mred\x1B[0m", "\\x1b[31mred\\x1b[0m"},
        TerminalCase{"WindowTitle", "\x1B]0;owned\x07", "\\x1b]0;owned\\x07"},
        TerminalCase{"LineBreaks", "a\nerror: b\r", "a\\x0aerror: b\\x0d"},
        TerminalCase{"Tab", "a\tb", "a\\x09b"},
        TerminalCase{"Nul", std::string("a\0b", 3), "a\\x00b"},
        TerminalCase{"Delete", "a\x7F", "a\\x7f"},
        TerminalCase{"C1Csi",
                     "\xC2\x9B"
                     "31m",
                     "\\xc2\\x9b31m"},
        TerminalCase{"C1Last", "\xC2\x9F", "\\xc2\\x9f"},
        TerminalCase{"NoBreakSpaceIsText", "\xC2\xA0", "\xC2\xA0"},
        TerminalCase{"RightToLeftOverride", "txt\xE2\x80\xAEmp3", "txt\\xe2\\x80\\xaemp3"},
        TerminalCase{"Isolate", "\xE2\x81\xA6", "\\xe2\\x81\\xa6"},
        TerminalCase{"LineSeparator", "\xE2\x80\xA8", "\\xe2\\x80\\xa8"},
        TerminalCase{"Latin1Byte", "Durchsage \xE4.mp3", "Durchsage \\xe4.mp3"},
        TerminalCase{"CutSequence", "ab\xE6\x97", "ab\\xe6\\x97"},
        TerminalCase{"Overlong", "\xC0\xAF", "\\xc0\\xaf"},
        TerminalCase{"Surrogate", "\xED\xA0\x80", "\\xed\\xa0\\x80"},
        TerminalCase{"PastTheLastCodePoint", "\xF4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},
        TerminalCase{"StrayContinuation", "\x80", "\\x80"},
        TerminalCase{"WindowsPath", "C:\\voice\\Alarm.mp3", "C:\\voice\\Alarm.mp3"},
        TerminalCase{"BackslashBeforeX", "C:\\x1b", "C:\\x5cx1b"},
        TerminalCase{"BackslashBeforeEscape", "\\\x1B", "\\\\x1b"},
        TerminalCase{"TrailingBackslash", "a\\", "a\\"}, TerminalCase{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pwx
