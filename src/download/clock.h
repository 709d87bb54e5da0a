#pragma once

#include <cstdint>

namespace quorvane {

// A monotonic millisecond counter, so that time-outs and speeds can be tested without waiting.
class Clock {
 public:
  virtual ~Clock() = default;
  [[nodiscard]] virtual std::int64_t NowMs() = 0;
};

}  // namespace quorvane
