#pragma once

#include "text/text.h"

namespace quorvane {

// Turns a name written with script-string escapes ("\u6587\u4ef6.zip", "100%25") into readable
// code-page-936 text. The text is read as the body of a single-quoted script string literal and
// then unescaped with %XX and %uXXXX; the result ends at its first NUL. A text that could not
// stand between the quotes (a line break other than CR LF, a backslash at the very end) gives
// the empty text. An apostrophe and CR LF pass through unchanged.
[[nodiscard]] Text DecodeEscapes(const Text& text);

}  // namespace quorvane
