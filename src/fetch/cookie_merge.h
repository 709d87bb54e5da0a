#pragma once

#include "text/text.h"

namespace quorvane {

// Folds the cookies a response set into the caller's cookie text ("a=1; b=2"): a new value
// replaces an old cookie of the same name, a value "deleted" drops the cookie, repeated items
// go. Both texts lose every space; `cookies` ends up holding the merged text, which is also
// returned.
Text MergeCookies(Text& cookies, Text& newCookies);

// The text before the first "=", trimmed; the whole item when it has none.
[[nodiscard]] Text CookieName(const Text& item);
[[nodiscard]] bool CookieNameExists(const TextArray& items, const Text& name);
// The pieces of `text` between separators, each kept only at its first appearance.
[[nodiscard]] Text JoinUnique(const Text& text, const Text& separator);
// The 1-based index of the first item equal to `text`, -1 when there is none.
[[nodiscard]] int IndexOfText(const TextArray& items, const Text& text);

}  // namespace quorvane
