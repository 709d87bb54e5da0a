#include "text/pattern_scan.h"

#include <algorithm>
#include <cstring>

#include "text/case_folding.h"

namespace quorvane {

PatternScan::PatternScan(std::string_view text, std::string_view pattern, bool foldCase,
                         Stepping stepping, std::size_t from, std::size_t end)
    : text_(text),
      pattern_(pattern),
      foldCase_(foldCase),
      byCharacters_(stepping == Stepping::Characters),
      position_(from),
      nextStart_(from),
      end_(std::min(end, text.size())),
      fallback_(pattern.size() + 1, 0),
      starts_(pattern.size(), false) {
  if (foldCase_) {
    for (char& c : pattern_) c = FoldAsciiCase(c);
  }
  for (std::size_t i = 1, k = 0; i < pattern_.size(); ++i) {
    while (k > 0 && pattern_[i] != pattern_[k]) k = fallback_[k];
    if (pattern_[i] == pattern_[k]) ++k;
    fallback_[i + 1] = k;
  }
}

// With nothing matched, jumps to the next byte that can begin a match, keeping the walk by
// characters in step: most of a large text is passed over here.
void PatternScan::SkipToCandidate() {
  const char first = pattern_[0];
  std::size_t target = position_;
  if (foldCase_ && FoldAsciiCase(first) != ToUpperAscii(first)) {
    while (target < end_ && FoldAsciiCase(text_[target]) != first) ++target;
  } else {
    const void* hit = std::memchr(text_.data() + position_, first, end_ - position_);
    target = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data()) : end_;
  }
  if (byCharacters_) {
    while (nextStart_ < target) {
      nextStart_ += static_cast<unsigned char>(text_[nextStart_]) >= 0x80 ? 2 : 1;
    }
  }
  position_ = target;
}

std::optional<std::size_t> PatternScan::Next() {
  const std::size_t length = pattern_.size();
  while (position_ < end_) {
    if (matched_ == 0) {
      SkipToCandidate();
      if (position_ >= end_) break;
    }
    const std::size_t i = position_++;
    const auto byte = static_cast<unsigned char>(text_[i]);
    bool isStart = true;
    if (byCharacters_) {
      isStart = i == nextStart_;
      if (isStart) {
        const bool wide = byte >= 0x80;
        nextStart_ = i + (wide ? 2 : 1);
        // A first byte with nothing after it ends the walk: no match begins there.
        if (wide && i + 1 == text_.size()) isStart = false;
      }
    }
    starts_[slot_] = isStart;
    slot_ = slot_ + 1 == length ? 0 : slot_ + 1;

    const char c = foldCase_ ? FoldAsciiCase(text_[i]) : text_[i];
    while (matched_ > 0 && c != pattern_[matched_]) matched_ = fallback_[matched_];
    if (c == pattern_[matched_]) ++matched_;
    if (matched_ == length) {
      matched_ = fallback_[length];
      // The ring now holds the oldest of the last `length` bytes, where this match began.
      if (starts_[slot_]) return i + 1 - length;
    }
  }
  return std::nullopt;
}

void PatternScan::SkipMatch() {
  matched_ = 0;
  nextStart_ = position_;
}

}  // namespace quorvane
