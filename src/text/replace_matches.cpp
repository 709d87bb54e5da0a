#include "text/replace_matches.h"

#include <cstddef>

namespace quorvane {

std::string ReplaceMatches(std::string_view text, std::string_view find,
                           std::string_view replacement, int start, std::optional<int> count,
                           bool foldCase, PatternScan::Stepping stepping) {
  const std::size_t from = start > 1 ? static_cast<std::size_t>(start) - 1 : 0;
  if (text.empty() || find.empty() || from >= text.size() || count == 0) {
    return std::string(text);
  }
  std::string result;
  result.reserve(text.size());
  PatternScan scan(text, find, foldCase, stepping, from);
  std::size_t copied = 0;
  int replaced = 0;
  for (auto match = scan.Next(); match; match = scan.Next()) {
    result.append(text, copied, *match - copied);
    result.append(replacement);
    copied = *match + find.size();
    scan.SkipMatch();
    if (count && ++replaced == *count) break;
  }
  result.append(text, copied);
  return result;
}

}  // namespace quorvane
