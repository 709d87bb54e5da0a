#pragma once

#include <cstddef>
#include <string_view>

namespace quorvane {

// The bytes of the character that begins at `offset`: two from a byte of 0x80 or more, unless
// it is the last byte of the text.
[[nodiscard]] inline std::size_t CharacterWidth(std::string_view text, std::size_t offset) {
  return static_cast<unsigned char>(text[offset]) >= 0x80 && offset + 1 < text.size() ? 2 : 1;
}

// The width of the space (0x20 or the full-width A1 A1) that begins at `offset`, else 0.
[[nodiscard]] inline std::size_t SpaceWidth(std::string_view text, std::size_t offset) {
  if (text[offset] == ' ') return 1;
  const bool wideSpace =
      text[offset] == '\xA1' && offset + 1 < text.size() && text[offset + 1] == '\xA1';
  return wideSpace ? 2 : 0;
}

}  // namespace quorvane
