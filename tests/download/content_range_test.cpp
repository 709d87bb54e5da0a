#include "download/content_range.h"

#include <gtest/gtest.h>

#include <optional>

namespace quorvane {
namespace {

struct Case {
  const char* header;
  bool valid;
  std::optional<ByteRange> range;
  std::optional<std::int64_t> total;
};

class ContentRangeTest : public ::testing::TestWithParam<Case> {};

TEST_P(ContentRangeTest, ReadsOnlyWellFormedHeaders) {
  const Case& c = GetParam();
  const std::optional<ContentRange> parsed = ParseContentRange(c.header);
  ASSERT_EQ(parsed.has_value(), c.valid);
  if (!c.valid) {
    return;
  }
  ASSERT_EQ(parsed->range.has_value(), c.range.has_value());
  if (c.range) {
    EXPECT_EQ(parsed->range->first, c.range->first);
    EXPECT_EQ(parsed->range->last, c.range->last);
  }
  EXPECT_EQ(parsed->total, c.total);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, ContentRangeTest,
    ::testing::Values(
        Case{"bytes 0-1023/2548", true, ByteRange{0, 1023}, 2548},
        Case{"bytes 7-7/8", true, ByteRange{7, 7}, 8},
        Case{"Bytes  0-9/10 ", true, ByteRange{0, 9}, 10},
        // Past 32 bits, and the largest values 64 bits hold.
        Case{"bytes 5368709020-5368710043/5368710120", true, ByteRange{5368709020, 5368710043},
             5368710120},
        Case{"bytes 0-9223372036854775806/9223372036854775807", true,
             ByteRange{0, 9223372036854775806}, 9223372036854775807},
        Case{"bytes 0-99/*", true, ByteRange{0, 99}, std::nullopt},
        Case{"bytes */2548", true, std::nullopt, 2548}, Case{"bytes */0", true, std::nullopt, 0},
        Case{"", false, {}, {}}, Case{"garbage", false, {}, {}}, Case{"bytes", false, {}, {}},
        Case{"bytes0-9/10", false, {}, {}}, Case{"items 0-9/10", false, {}, {}},
        Case{"bytes 99-0/100", false, {}, {}},  // last before first
        Case{"bytes 0-99/99", false, {}, {}},   // total cannot hold the range
        Case{"bytes 0-99/50", false, {}, {}}, Case{"bytes */*", false, {}, {}},
        Case{"bytes -5-9/10", false, {}, {}}, Case{"bytes 0-9/10x", false, {}, {}},
        Case{"bytes 0-9/10/20", false, {}, {}}, Case{"bytes 0-9", false, {}, {}},
        Case{"bytes 0-9223372036854775808/9223372036854775809", false, {}, {}},
        Case{"bytes 0-99999999999999999999/100000000000000000000", false, {}, {}},
        Case{"bytes \xA3\xB0-9/10", false, {}, {}}));  // a full-width digit is not a digit

}  // namespace
}  // namespace quorvane
