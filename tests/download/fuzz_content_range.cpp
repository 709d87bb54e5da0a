// Any bytes at all: the parser must not crash, and whatever it accepts must be a range the
// transfer loop can trust.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "download/content_range.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const quorvane::Text header(reinterpret_cast<const char*>(data), size);
  const std::optional<quorvane::ContentRange> parsed = quorvane::ParseContentRange(header);
  if (!parsed) {
    return 0;
  }
  if (!parsed->range && !parsed->total) {
    __builtin_trap();
  }
  if (parsed->range) {
    if (parsed->range->first < 0 || parsed->range->last < parsed->range->first) {
      __builtin_trap();
    }
    if (parsed->total && parsed->range->last >= *parsed->total) {
      __builtin_trap();
    }
  }
  if (parsed->total && *parsed->total < 0) {
    __builtin_trap();
  }
  // Only ASCII is accepted, so no byte of a two-byte character was read as a character.
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] >= 0x80) {
      __builtin_trap();
    }
  }
  return 0;
}
