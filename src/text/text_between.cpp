#include "text/code_page.h"
#include "text/text.h"

namespace quorvane {

Text TextBetween(const Text& text, const Text& startMarker, const Text& endMarker, int start,
                 bool ignoreCase) {
  // Markers may spell a double quote with this token, which is easier to write than an escape.
  static const Text kQuoteToken = Cp936FromUtf8("#引号");
  const Text opening = ReplaceText(startMarker, kQuoteToken, "\"", 1, std::nullopt, true);
  const Text closing = ReplaceText(endMarker, kQuoteToken, "\"", 1, std::nullopt, true);
  int from = FindText(text, opening, start, ignoreCase);
  if (from == -1) return {};
  from += TextLength(opening);
  const int to = FindText(text, closing, from, ignoreCase);
  if (to == -1) return {};
  return TextMid(text, from, to - from);
}

}  // namespace quorvane
