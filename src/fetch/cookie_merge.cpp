#include "fetch/cookie_merge.h"

namespace quorvane {

Text MergeCookies(Text& cookies, Text& newCookies) {
  cookies = RemoveSpaces(cookies);
  newCookies = RemoveSpaces(newCookies);
  const TextArray old = SplitText(cookies, ";");
  TextArray merged = SplitText(newCookies, ";");
  // `merged` grows while old items are added, so of two old items with one name only the
  // first is carried over.
  for (const Text& item : old) {
    if (!CookieNameExists(merged, CookieName(item))) AppendItem(merged, item);
  }
  cookies.clear();
  for (const Text& item : merged) {
    if (TextRight(item, 8) != "=deleted") cookies += Concat(item, "; ");
  }
  cookies = TextLeft(cookies, TextLength(cookies) - 2);
  cookies = JoinUnique(cookies, "; ");
  return cookies;
}

Text CookieName(const Text& item) {
  const int equals = FindText(item, "=");
  return TrimSpaces(equals == -1 ? item : TextLeft(item, equals - 1));
}

bool CookieNameExists(const TextArray& items, const Text& name) {
  for (const Text& item : items) {
    if (CookieName(item) == name) return true;
  }
  return false;
}

Text JoinUnique(const Text& text, const Text& separator) {
  TextArray seen;
  Text result;
  for (const Text& piece : SplitText(text, separator)) {
    if (IndexOfText(seen, piece) == -1) {
      AppendItem(seen, piece);
      result += Concat(piece, separator);
    }
  }
  return TextLeft(result, TextLength(result) - TextLength(separator));
}

int IndexOfText(const TextArray& items, const Text& text) {
  for (int i = 0; i < ItemCount(items); ++i) {
    if (items[i] == text) return i + 1;
  }
  return -1;
}

}  // namespace quorvane
