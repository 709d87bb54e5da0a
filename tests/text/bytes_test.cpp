#include <gtest/gtest.h>

#include <optional>

#include "text/text.h"

namespace quorvane {
namespace {

TEST(BytesTest, BytesToTextStopsAtTheFirstZero) {
  EXPECT_EQ(BytesToText(Bytes{0x41, 0x00, 0x42}), "A");
  EXPECT_EQ(BytesToText(Bytes{0x00, 0x42}), "");
  EXPECT_EQ(BytesToText(Bytes{}), "");
  EXPECT_EQ(BytesToText(Bytes{0xB0, 0x41}), "\xB0\x41");
  EXPECT_EQ(TextToBytes("\xB0"
                        "A"),
            (Bytes{0xB0, 0x41}));
  EXPECT_EQ(TextToBytes(""), Bytes{});
}

TEST(BytesTest, CountsAndBlanks) {
  const Bytes bytes{1, 0, 3};
  EXPECT_EQ(BytesLength(bytes), 3);
  EXPECT_EQ(BytesLeft(bytes, 2), (Bytes{1, 0}));
  EXPECT_EQ(BytesLeft(bytes, 9), bytes);
  EXPECT_EQ(BytesLeft(bytes, 0), Bytes{});
  EXPECT_EQ(BytesLeft(bytes, -1), Bytes{});
  EXPECT_EQ(BlankBytes(2), (Bytes{0, 0}));
  EXPECT_EQ(BlankBytes(-1), Bytes{});
}

TEST(ReplaceBytesTest, MatchesEveryByteExactly) {
  // Unlike ReplaceText: a match may begin on a second byte and case matters.
  EXPECT_EQ(ReplaceBytes({0xB0, 0x41, 0x41}, {0x41}, {0x7A}), (Bytes{0xB0, 0x7A, 0x7A}));
  EXPECT_EQ(ReplaceBytes({'A', 'a'}, {'a'}, {'b'}), (Bytes{'A', 'b'}));
  EXPECT_EQ(ReplaceBytes({1, 0, 0, 2, 0, 0}, {0, 0}, {9}), (Bytes{1, 9, 2, 9}));
  EXPECT_EQ(ReplaceBytes({1, 0, 1, 0}, {0}), (Bytes{1, 1}));
  EXPECT_EQ(ReplaceBytes({0, 0, 0}, {0}, {7}, 2, 1), (Bytes{0, 7, 0}));
  EXPECT_EQ(ReplaceBytes({0, 0}, {0}, {7}, 3), (Bytes{0, 0}));
  EXPECT_EQ(ReplaceBytes({0, 0}, {}, {7}), (Bytes{0, 0}));
  EXPECT_EQ(ReplaceBytes({}, {0}, {7}), Bytes{});
}

}  // namespace
}  // namespace quorvane
