#include "cli/progress_line.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace quorvane {

namespace {

// Below this the average swings too much to be worth showing.
constexpr std::int64_t kMinimumEstimateMs = 500;

}  // namespace

std::string FormatByteCount(std::int64_t bytes) {
  static constexpr std::array<const char*, 5> kUnits = {"KiB", "MiB", "GiB", "TiB", "PiB"};
  char buffer[32];
  if (bytes < 1024) {
    std::snprintf(buffer, sizeof buffer, "%lld B", static_cast<long long>(bytes));
    return buffer;
  }
  double value = static_cast<double>(bytes) / 1024;
  std::size_t unit = 0;
  while (value >= 1024 && unit + 1 < kUnits.size()) {
    value /= 1024;
    ++unit;
  }
  std::snprintf(buffer, sizeof buffer, "%.1f %s", value, kUnits[unit]);
  return buffer;
}

std::string FormatTimeLeft(std::optional<std::int64_t> seconds) {
  if (!seconds) {
    return "--:--";
  }
  const long long total = *seconds;
  char buffer[32];
  if (total < 3600) {
    std::snprintf(buffer, sizeof buffer, "%lld:%02lld", total / 60, total % 60);
  } else {
    std::snprintf(buffer, sizeof buffer, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60,
                  total % 60);
  }
  return buffer;
}

std::optional<std::int64_t> EstimateSecondsLeft(std::int64_t bytesRemaining,
                                                std::int64_t bytesSoFar,
                                                std::int64_t millisecondsSoFar) {
  if (bytesRemaining <= 0) {
    return 0;
  }
  if (bytesSoFar <= 0 || millisecondsSoFar < kMinimumEstimateMs) {
    return std::nullopt;
  }
  const double bytesPerMs =
      static_cast<double>(bytesSoFar) / static_cast<double>(millisecondsSoFar);
  // Rounded up, so that "0:00 left" never shows while bytes are still missing.
  return static_cast<std::int64_t>(
      std::ceil(static_cast<double>(bytesRemaining) / bytesPerMs / 1000));
}

std::string FormatProgressLine(const ProgressFigures& figures) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "%s / %s  %3d%%  %d KB/s  %s left",
                FormatByteCount(figures.bytesDone).c_str(),
                FormatByteCount(figures.totalLength).c_str(), figures.percentage,
                figures.speedKbPerS, FormatTimeLeft(figures.secondsLeft).c_str());
  return buffer;
}

}  // namespace quorvane
