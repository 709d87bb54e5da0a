#include <gtest/gtest.h>

#include "text/text.h"

namespace quorvane {
namespace {

TEST(TextSlicesTest, CountsBytesAndClampsToTheText) {
  const Text text = "ab\xB0\x41z";  // may cut a two-byte character in two
  EXPECT_EQ(TextLength(text), 5);
  EXPECT_EQ(TextLeft(text, 3), "ab\xB0");
  EXPECT_EQ(TextLeft(text, 99), text);
  EXPECT_EQ(TextLeft(text, 0), "");
  EXPECT_EQ(TextLeft(text, -1), "");
  EXPECT_EQ(TextRight(text, 2), "\x41z");
  EXPECT_EQ(TextRight(text, 99), text);
  EXPECT_EQ(TextRight(text, 0), "");
  EXPECT_EQ(TextRight(text, -4), "");
  EXPECT_EQ(TextMid(text, 2, 2), "b\xB0");
  EXPECT_EQ(TextMid(text, 4, 99), "\x41z");
  EXPECT_EQ(TextMid(text, 5, 1), "z");
  EXPECT_EQ(TextMid(text, 6, 1), "");
  EXPECT_EQ(TextMid(text, 0, 2), "");
  EXPECT_EQ(TextMid(text, -1, 2), "");
  EXPECT_EQ(TextMid(text, 1, 0), "");
  EXPECT_EQ(TextMid("", 1, 1), "");
}

TEST(TextSlicesTest, CharFromCodeKeepsTheLowByteAndNeverAZero) {
  EXPECT_EQ(CharFromCode(65), "A");
  EXPECT_EQ(CharFromCode(0x141), "A");
  EXPECT_EQ(CharFromCode(0xB0), "\xB0");
  EXPECT_EQ(CharFromCode(0), "");
  EXPECT_EQ(CharFromCode(0x100), "");
}

TEST(TextSlicesTest, BlankTextAndConcat) {
  EXPECT_EQ(BlankText(3), "   ");
  EXPECT_EQ(BlankText(0), "");
  EXPECT_EQ(BlankText(-2), "");
  EXPECT_EQ(Concat(Text("a"), Text(""), Text("bc")), "abc");
  EXPECT_EQ(Concat(Bytes{1, 0}, Bytes{}, Bytes{0, 2}), (Bytes{1, 0, 0, 2}));
  EXPECT_EQ(BitOr(1, 2, 8), 11);
}

}  // namespace
}  // namespace quorvane
