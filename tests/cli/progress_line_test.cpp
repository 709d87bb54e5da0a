#include "cli/progress_line.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(ProgressLine, ByteCountsInBinaryUnits) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {0, "0 B"},
      {1023, "1023 B"},
      {1024, "1.0 KiB"},
      {20480, "20.0 KiB"},
      {1024 * 1024 - 1, "1024.0 KiB"},
      {5 * 1024LL * 1024 * 1024 + 512LL * 1024 * 1024, "5.5 GiB"},
  };
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(FormatByteCount(bytes), text) << bytes;
  }
}

TEST(ProgressLine, TimeLeft) {
  EXPECT_EQ(FormatTimeLeft(std::nullopt), "--:--");
  EXPECT_EQ(FormatTimeLeft(0), "0:00");
  EXPECT_EQ(FormatTimeLeft(59), "0:59");
  EXPECT_EQ(FormatTimeLeft(3599), "59:59");
  EXPECT_EQ(FormatTimeLeft(3600), "1:00:00");
  EXPECT_EQ(FormatTimeLeft(100 * 3600 + 61), "100:01:01");
}

TEST(ProgressLine, EstimatesFromTheAverageRate) {
  // 1 MiB in 2 s: 3 MiB more take 6 s.
  EXPECT_EQ(EstimateSecondsLeft(3 << 20, 1 << 20, 2000), 6);
  // A part of a second still left shows as a whole second.
  EXPECT_EQ(EstimateSecondsLeft(1, 1 << 20, 2000), 1);
  EXPECT_EQ(EstimateSecondsLeft(0, 1 << 20, 2000), 0);
  // Too early, or nothing received yet: unknown rather than wild.
  EXPECT_EQ(EstimateSecondsLeft(3 << 20, 1 << 20, 100), std::nullopt);
  EXPECT_EQ(EstimateSecondsLeft(3 << 20, 0, 5000), std::nullopt);
  // Beyond 32 bits.
  EXPECT_EQ(EstimateSecondsLeft(8LL << 30, 1 << 20, 1000), 8192);
}

TEST(ProgressLine, ShowsSizePercentageSpeedAndTimeLeft) {
  EXPECT_EQ(FormatProgressLine({9 * 1024 * 1024, 20 * 1024 * 1024, 45, 312, 39}),
            "9.0 MiB / 20.0 MiB   45%  312 KB/s  0:39 left");
  EXPECT_EQ(FormatProgressLine({0, 0, 0, 0, std::nullopt}), "0 B / 0 B    0%  0 KB/s  --:-- left");
}

}  // namespace
}  // namespace quorvane
