#include <gtest/gtest.h>

#include "common/EditorError.h"
#include "common/IntegerText.h"

namespace pwx {
namespace {

struct IntCase {
  const char* text;
  std::optional<std::int32_t> value;
};

class IntegerConversion : public ::testing::TestWithParam<IntCase> {};

TEST_P(IntegerConversion, AcceptsSignedDecimalOnly) {
  const auto& c = GetParam();
  EXPECT_EQ(TryParseInt32(c.text), c.value) << "text: '" << c.text << "'";
  if (c.value) {
    EXPECT_EQ(StrToInt(c.text), *c.value);
  } else {
    try {
      StrToInt(c.text);
      FAIL() << "no error for '" << c.text << "'";
    } catch (const EditorError& e) {
      EXPECT_EQ(std::string(e.what()),
                std::string("'") + c.text + "' is not a valid integer value");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, IntegerConversion,
    ::testing::Values(IntCase{"0", 0}, IntCase{"7", 7}, IntCase{"007", 7}, IntCase{"-1", -1},
                      IntCase{"+12", 12}, IntCase{"2147483647", 2147483647},
                      IntCase{"-2147483648", -2147483647 - 1}, IntCase{"2147483648", {}},
                      IntCase{"-2147483649", {}}, IntCase{"99999999999999999999", {}},
                      IntCase{"", {}}, IntCase{"-", {}}, IntCase{"+", {}}, IntCase{"x", {}},
                      IntCase{"1x", {}}, IntCase{" 1", {}}, IntCase{"1 ", {}}, IntCase{"0x10", {}},
                      IntCase{"1.0", {}}, IntCase{"--1", {}}));

TEST(ThreeDigits, PadsToAtLeastThreeDigits) {
  EXPECT_EQ(ThreeDigits(1), "001");
  EXPECT_EQ(ThreeDigits(42), "042");
  EXPECT_EQ(ThreeDigits(200), "200");
  EXPECT_EQ(ThreeDigits(1234), "1234");
}

}  // namespace
}  // namespace pwx
