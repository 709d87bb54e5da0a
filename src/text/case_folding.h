#pragma once

namespace quorvane {

// Only the ASCII letters have a case.
[[nodiscard]] constexpr char FoldAsciiCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

[[nodiscard]] constexpr char ToUpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace quorvane
