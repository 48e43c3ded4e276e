#include <gtest/gtest.h>

#include "common/JsonText.h"

namespace pwx {
namespace {

struct JsonCase {
  const char* name;
  std::string text;
  std::string json;
};

void PrintTo(const JsonCase& c, std::ostream* os) {
  *os << c.name;
}

class JsonStringTest : public ::testing::TestWithParam<JsonCase> {};

TEST_P(JsonStringTest, IsAlwaysValidJson) {
  EXPECT_EQ(JsonString(GetParam().text), GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(
    Table, JsonStringTest,
    ::testing::Values(JsonCase{"Plain", "DI1 #2", "\"DI1 #2\""},
                      JsonCase{"QuotesAndBackslashes", R"(clip "a" in C:\x)",
                               R"("clip \"a\" in C:\\x")"},
                      JsonCase{"ControlCharacters", std::string("a\nb\tc\r\x01\x1f", 8),
                               R"("a\nb\tc\r\u0001\u001f")"},
                      JsonCase{"NulInside", std::string("a\0b", 3), R"("a\u0000b")"},
                      JsonCase{"Utf8Kept", "Fl\xC3\xBCr \xE6\xB0\xB4 \xF0\x9F\x94\x94",
                               "\"Fl\xC3\xBCr \xE6\xB0\xB4 \xF0\x9F\x94\x94\""},
                      JsonCase{"Latin1Replaced", "Fl\xFCr", R"("Fl\ufffdr")"},
                      JsonCase{"CutSequence", "ab\xE6\xB0", R"("ab\ufffd\ufffd")"},
                      JsonCase{"Overlong", "\xC0\xAF", R"("\ufffd\ufffd")"},
                      JsonCase{"Surrogate", "\xED\xA0\x80", R"("\ufffd\ufffd\ufffd")"},
                      JsonCase{"PastUnicode", "\xF4\x90\x80\x80", R"("\ufffd\ufffd\ufffd\ufffd")"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pwx
