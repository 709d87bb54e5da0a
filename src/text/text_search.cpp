#include <cstddef>
#include <optional>

#include "text/pattern_scan.h"
#include "text/replace_matches.h"
#include "text/text.h"

namespace quorvane {

int FindText(const Text& text, const Text& pattern, int start, bool ignoreCase) {
  const std::size_t from = start >= 1 ? static_cast<std::size_t>(start) - 1 : 0;
  if (from >= text.size()) return -1;
  if (pattern.empty()) return 1;
  PatternScan scan(text, pattern, ignoreCase, PatternScan::Stepping::Characters, from);
  const auto match = scan.Next();
  return match ? static_cast<int>(*match) + 1 : -1;
}

int FindTextReverse(const Text& text, const Text& pattern, std::optional<int> start,
                    bool ignoreCase) {
  std::size_t region = text.size();
  if (start) region = *start <= 1 ? 0 : std::min(static_cast<std::size_t>(*start) - 1, region);
  if (pattern.empty()) return region >= 1 ? 1 : -1;
  PatternScan scan(text, pattern, ignoreCase, PatternScan::Stepping::Characters, 0, region);
  int last = -1;
  for (auto match = scan.Next(); match; match = scan.Next()) last = static_cast<int>(*match) + 1;
  return last;
}

Text ReplaceText(const Text& text, const Text& find, const Text& replacement, int start,
                 std::optional<int> count, bool caseSensitive) {
  return ReplaceMatches(text, find, replacement, start, count, !caseSensitive,
                        PatternScan::Stepping::Characters);
}

TextArray SplitText(const Text& text, const Text& delimiter, std::optional<int> maxCount) {
  TextArray items;
  if (text.empty() || maxCount == 0) return items;
  if (delimiter.empty()) return {text};
  const auto full = [&] { return maxCount && static_cast<int>(items.size()) == *maxCount; };
  PatternScan scan(text, delimiter, false, PatternScan::Stepping::Characters);
  std::size_t cut = 0;
  while (!full()) {
    const auto match = scan.Next();
    if (!match) break;
    items.emplace_back(text, cut, *match - cut);
    cut = *match + delimiter.size();
    scan.SkipMatch();
  }
  if (cut < text.size() && !full()) items.emplace_back(text, cut);
  return items;
}

int ItemCount(const TextArray& items) {
  return static_cast<int>(items.size());
}

void AppendItem(TextArray& items, const Text& text) {
  items.push_back(text);
}

}  // namespace quorvane
