#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Finds a pattern in a text from left to right in a single pass (Knuth-Morris-Pratt), and
// reports only the matches that begin where a character begins. Because a rejected match
// inside a two-byte character does not restart the search, the work stays linear in the text
// however the matches fall.
class PatternScan {
 public:
  enum class Stepping { Characters, Bytes };

  // `pattern` must not be empty and, like `text`, must outlive the scan. The walk by
  // characters starts at offset `from`; only matches ending by offset `end` are reported.
  PatternScan(std::string_view text, std::string_view pattern, bool foldCase, Stepping stepping,
              std::size_t from = 0, std::size_t end = std::string_view::npos);

  // The offset of the next match. Matches may overlap unless SkipMatch is called.
  [[nodiscard]] std::optional<std::size_t> Next();
  // Continues after the bytes of the match just reported, as a new character start.
  void SkipMatch();

 private:
  void SkipToCandidate();

  std::string_view text_;
  std::string pattern_;  // folded when the case is folded
  bool foldCase_;
  bool byCharacters_;
  std::size_t position_;   // the next byte to read
  std::size_t nextStart_;  // where the next character begins
  std::size_t end_;
  std::vector<std::size_t> fallback_;  // the Knuth-Morris-Pratt failure function
  std::size_t matched_ = 0;            // pattern bytes matched so far
  // Whether each of the last pattern-length bytes began a character, as a ring.
  std::vector<bool> starts_;
  std::size_t slot_ = 0;
};

}  // namespace quorvane
