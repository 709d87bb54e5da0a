#pragma once

#include <chrono>
#include <cstdint>

#include "download/clock.h"

namespace quorvane {

// Milliseconds of the system's monotonic clock. A signed 64-bit count of milliseconds lasts
// for some 292 million years, so elapsed times never meet a wrap-around.
class SteadyClock : public Clock {
 public:
  [[nodiscard]] std::int64_t NowMs() override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
};

}  // namespace quorvane
