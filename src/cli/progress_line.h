#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvane {

struct ProgressFigures {
  std::int64_t bytesDone = 0;
  std::int64_t totalLength = 0;
  std::int32_t percentage = 0;
  std::int32_t speedKbPerS = 0;
  // Unknown until the transfer has run long enough to estimate.
  std::optional<std::int64_t> secondsLeft;
};

// One terminal line, e.g. "  9.0 MiB / 20.0 MiB   45%   312 KB/s   0:39 left".
[[nodiscard]] std::string FormatProgressLine(const ProgressFigures& figures);
// Bytes in binary units with one decimal: "512 B", "20.0 KiB", "4.5 GiB".
[[nodiscard]] std::string FormatByteCount(std::int64_t bytes);
// "m:ss" below an hour, "h:mm:ss" above, "--:--" when unknown.
[[nodiscard]] std::string FormatTimeLeft(std::optional<std::int64_t> seconds);
// The seconds the rest takes at the average rate seen so far; nothing while too little has
// been seen to tell.
[[nodiscard]] std::optional<std::int64_t> EstimateSecondsLeft(std::int64_t bytesRemaining,
                                                              std::int64_t bytesSoFar,
                                                              std::int64_t millisecondsSoFar);

}  // namespace quorvane
