#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

namespace quorvane {

// The one place where texts cross between code page 936 and the encodings of the desktop.
// What the target cannot hold, and input that is not valid in its encoding, becomes "?" (one
// per character or broken sequence); nothing throws.
[[nodiscard]] Text Cp936FromUtf8(std::string_view utf8);
[[nodiscard]] std::string Utf8FromCp936(const Text& text);
// Ends at the first U+0000.
[[nodiscard]] Text Cp936FromUtf16(std::u16string_view utf16);
[[nodiscard]] std::u16string Utf16FromCp936(const Text& text);

}  // namespace quorvane
