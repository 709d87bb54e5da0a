#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "text/code_page.h"
#include "text/text.h"

namespace quorvane {
namespace {

TEST(TextToNumberTest, ReadsTheLongestNumberPrefix) {
  const struct {
    Text text;
    double expected;
  } cases[] = {
      {"12abc", 12},
      {"", 0},
      {"abc", 0},
      {" \t\n-3.5e2x", -350},
      {"+7", 7},
      {".5", 0.5},
      {"1e", 1},
      {"1.", 1},
      {"- 1", 0},
      {"1,5", 1},
      {"0x10", 16},
      {Cp936FromUtf8("１２．５"), 12.5},
      {Cp936FromUtf8("－３"), -3},
      {Cp936FromUtf8("　７"), 7},  // a full-width space is white space
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(TextToNumber(c.text), c.expected) << "text \"" << c.text << "\"";
  }
}

TEST(TextToIntegerTest, ReadsDigitsAndWrapsModulo32Bits) {
  const struct {
    Text text;
    std::int32_t expected;
  } cases[] = {
      {"  -42x", -42},
      {"+7", 7},
      {"12.9", 12},
      {"", 0},
      {"- 5", 0},
      {"1e3", 1},
      {"2147483647", 2147483647},
      {"2147483648", std::numeric_limits<std::int32_t>::min()},
      {"4294967297", 1},
      {"-2147483649", 2147483647},
      {"99999999999999999999", 1661992959},  // 10^20 - 1 modulo 2^32
      {Cp936FromUtf8("１２３"), 123},
      {Cp936FromUtf8("－５"), -5},
      {Cp936FromUtf8("＋１"), 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextToInteger(c.text), c.expected) << "text \"" << c.text << "\"";
  }
}

TEST(NumberToTextTest, WritesIntegersInDecimal) {
  EXPECT_EQ(NumberToText(std::int32_t{0}), "0");
  EXPECT_EQ(NumberToText(std::int32_t{-17}), "-17");
  EXPECT_EQ(NumberToText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
  EXPECT_EQ(NumberToText(std::int64_t{5000000000}), "5000000000");
  EXPECT_EQ(NumberToText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(NumberToTextTest, WritesDoublesAsPercentPoint13G) {
  const struct {
    double value;
    Text expected;
  } cases[] = {
      {1048575, "1048575"},
      {10239, "10239"},
      {0, "0"},
      {-0.5, "-0.5"},
      {0.1, "0.1"},
      {1.0 / 3, "0.3333333333333"},
      {9999999999999, "9999999999999"},
      {1e13, "1e+13"},
      {123456789.125, "123456789.125"},
      {1e-5, "1e-05"},
      {2.5e-300, "2.5e-300"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberToText(c.value), c.expected);
}

TEST(NumberToTextTest, AgreesWithPrintf) {
  for (double magnitude = 1e-7; magnitude < 1e17; magnitude *= 3.7) {
    for (const double value : {magnitude, -magnitude}) {
      char expected[64];
      std::snprintf(expected, sizeof expected, "%.13g", value);
      EXPECT_EQ(NumberToText(value), expected);
    }
  }
}

TEST(TruncateToIntegerTest, KeepsTheLowBitsOfTheTruncatedValue) {
  const double infinity = std::numeric_limits<double>::infinity();
  const double zero = 0;
  const struct {
    double value;
    std::int32_t expected;
  } cases[] = {
      {3.9, 3},
      {-3.9, -3},
      {7.0 / 2, 3},
      {2147483648.0, std::numeric_limits<std::int32_t>::min()},
      {4294967296.0 + 5, 5},
      {-4294967296.0 - 5, -5},
      {1 / zero, 0},
      {-1 / zero, 0},
      {zero / zero, 0},
      {infinity, 0},
      {9223372036854775808.0, 0},
      {-9223372036854775808.0, 0},  // the lowest 64-bit value: its low 32 bits are zero
      {-9223372036854777856.0, 0},
      {1e300, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(TruncateToInteger(c.value), c.expected) << c.value;
}

TEST(TruncateToInteger64Test, TruncatesWithin64Bits) {
  EXPECT_EQ(TruncateToInteger64(5e9 + 0.9), 5000000000);
  EXPECT_EQ(TruncateToInteger64(-5e9 - 0.9), -5000000000);
  EXPECT_EQ(TruncateToInteger64(-9223372036854775808.0), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(TruncateToInteger64(9223372036854774784.0), 9223372036854774784);
  EXPECT_EQ(TruncateToInteger64(9223372036854775808.0), 0);
  EXPECT_EQ(TruncateToInteger64(std::nan("")), 0);
  EXPECT_EQ(TruncateToInteger64(-std::numeric_limits<double>::infinity()), 0);
}

}  // namespace
}  // namespace quorvane
