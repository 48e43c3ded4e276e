#include <gtest/gtest.h>

#include "common/JsonValue.h"

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

// U+FFFD, the replacement character, as UTF-8.
const std::string kReplaced = "\xEF\xBF\xBD";

class JsonStringTest : public ::testing::TestWithParam<JsonCase> {};

TEST_P(JsonStringTest, IsAlwaysValidJson) {
  EXPECT_EQ(JsonValue(GetParam().text).Text(), GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(
    Table, JsonStringTest,
    ::testing::Values(
        JsonCase{"Plain", "DI1 #2", "\"DI1 #2\""},
        JsonCase{"QuotesAndBackslashes", R"(clip "a" in C:\x)", R"("clip \"a\" in C:\\x")"},
        JsonCase{"ControlCharacters", std::string("a\nb\tc\r\x01\x1f", 8),
                 R"("a\nb\tc\r\u0001\u001f")"},
        JsonCase{"NulInside", std::string("a\0b", 3), R"("a\u0000b")"},
        JsonCase{"Utf8Kept", "Fl\xC3\xBCr \xE6\xB0\xB4 \xF0\x9F\x94\x94",
                 "\"Fl\xC3\xBCr \xE6\xB0\xB4 \xF0\x9F\x94\x94\""},
        JsonCase{"Latin1Replaced", "Fl\xFCr", "\"Fl" + kReplaced + "r\""},
        JsonCase{"CutSequence", "ab\xE6\xB0", "\"ab" + kReplaced + "\""},
        JsonCase{"Overlong", "\xC0\xAF", "\"" + kReplaced + kReplaced + "\""},
        JsonCase{"Surrogate", "\xED\xA0\x80", "\"" + kReplaced + kReplaced + kReplaced + "\""},
        JsonCase{"PastUnicode", "\xF4\x90\x80\x80",
                 "\"" + kReplaced + kReplaced + kReplaced + kReplaced + "\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JsonValue, ObjectsKeepTheOrderOfTheirKeysAndNest) {
  JsonValue files = JsonValue::Array();
  files.Append(JsonValue::Object().Set("name", "001.mp3").Set("bytes", 4096u));
  files.Append(nullptr);
  JsonValue document = JsonValue::Object();
  document.Set("zeta", true).Set("alpha", -3).Set("files", files).Set("none", JsonValue::Array());
  document.Set("zeta", false);  // set again, in its place
  EXPECT_EQ(document.Text(),
            "{\n"
            "  \"zeta\": false,\n"
            "  \"alpha\": -3,\n"
            "  \"files\": [\n"
            "    {\n"
            "      \"name\": \"001.mp3\",\n"
            "      \"bytes\": 4096\n"
            "    },\n"
            "    null\n"
            "  ],\n"
            "  \"none\": []\n"
            "}");
}

TEST(JsonValue, LargeSizesStayExact) {
  EXPECT_EQ(JsonValue(std::uint64_t{18446744073709551615u}).Text(), "18446744073709551615");
  EXPECT_EQ(JsonValue(std::int64_t{-9223372036854775807}).Text(), "-9223372036854775807");
}

}  // namespace
}  // namespace pwx
