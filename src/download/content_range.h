#pragma once

#include <cstdint>
#include <optional>

#include "text/text.h"

namespace quorvane {

// A byte range with both ends included.
struct ByteRange {
  std::int64_t first = 0;
  std::int64_t last = 0;
};

// The value of a Content-Range header: "bytes F-L/T", "bytes F-L/*" or "bytes */T".
struct ContentRange {
  std::optional<ByteRange> range;     // absent in the "*/T" form a 416 reply carries
  std::optional<std::int64_t> total;  // absent when the server gives "*"
};

// Empty for anything but a well-formed header: numbers beyond 64 bits, a range whose last byte
// lies before its first, a total that does not hold the range, or no range and no total.
[[nodiscard]] std::optional<ContentRange> ParseContentRange(const Text& header);

}  // namespace quorvane
