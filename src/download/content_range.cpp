#include "download/content_range.h"

#include <cstddef>
#include <limits>

namespace quorvane {

namespace {

// Reads left to right and stops at the first byte outside the grammar, which includes every
// byte of 0x80 or more: a trail byte of a two-byte character is never read as a character.
class Reader {
 public:
  explicit Reader(const Text& text) : text_(text) {}

  [[nodiscard]] bool AtEnd() const { return position_ == text_.size(); }

  [[nodiscard]] bool Take(char expected) {
    if (AtEnd() || text_[position_] != expected) {
      return false;
    }
    ++position_;
    return true;
  }

  // The range unit is compared without regard to case.
  [[nodiscard]] bool TakeWordIgnoringCase(const char* word) {
    std::size_t at = position_;
    for (; *word != '\0'; ++word, ++at) {
      if (at == text_.size()) {
        return false;
      }
      char c = text_[at];
      if (c >= 'A' && c <= 'Z') {
        c = static_cast<char>(c - 'A' + 'a');
      }
      if (c != *word) {
        return false;
      }
    }
    position_ = at;
    return true;
  }

  // Spaces and tabs; returns how many were skipped.
  std::size_t SkipBlanks() {
    const std::size_t start = position_;
    while (!AtEnd() && (text_[position_] == ' ' || text_[position_] == '\t')) {
      ++position_;
    }
    return position_ - start;
  }

  [[nodiscard]] std::optional<std::int64_t> TakeNumber() {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const std::size_t start = position_;
    std::int64_t value = 0;
    while (!AtEnd() && text_[position_] >= '0' && text_[position_] <= '9') {
      const int digit = text_[position_] - '0';
      if (value > (kMax - digit) / 10) {
        return std::nullopt;
      }
      value = value * 10 + digit;
      ++position_;
    }
    if (position_ == start) {
      return std::nullopt;
    }
    return value;
  }

 private:
  const Text& text_;
  std::size_t position_ = 0;
};

}  // namespace

std::optional<ContentRange> ParseContentRange(const Text& header) {
  Reader reader(header);
  reader.SkipBlanks();
  if (!reader.TakeWordIgnoringCase("bytes") || reader.SkipBlanks() == 0) {
    return std::nullopt;
  }
  ContentRange parsed;
  if (!reader.Take('*')) {
    const std::optional<std::int64_t> first = reader.TakeNumber();
    if (!first || !reader.Take('-')) {
      return std::nullopt;
    }
    const std::optional<std::int64_t> last = reader.TakeNumber();
    if (!last || *last < *first) {
      return std::nullopt;
    }
    parsed.range = ByteRange{*first, *last};
  }
  if (!reader.Take('/')) {
    return std::nullopt;
  }
  if (!reader.Take('*')) {
    parsed.total = reader.TakeNumber();
    if (!parsed.total) {
      return std::nullopt;
    }
  }
  reader.SkipBlanks();
  if (!reader.AtEnd() || (!parsed.range && !parsed.total)) {
    return std::nullopt;
  }
  if (parsed.range && parsed.total && parsed.range->last >= *parsed.total) {
    return std::nullopt;
  }
  return parsed;
}

}  // namespace quorvane
