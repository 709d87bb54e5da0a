#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "text/pattern_scan.h"

namespace quorvane {

// Replaces occurrences of `find` from position `start` on (1 or less: the beginning), left to
// right, never searching an emitted replacement again. `count` omitted or negative replaces
// every occurrence.
[[nodiscard]] std::string ReplaceMatches(std::string_view text, std::string_view find,
                                         std::string_view replacement, int start,
                                         std::optional<int> count, bool foldCase,
                                         PatternScan::Stepping stepping);

}  // namespace quorvane
