#include <cstddef>

#include "text/text.h"

namespace quorvane {

int TextLength(const Text& text) {
  return static_cast<int>(text.size());
}

Text TextLeft(const Text& text, int n) {
  return n <= 0 ? Text{} : text.substr(0, static_cast<std::size_t>(n));
}

Text TextRight(const Text& text, int n) {
  if (n <= 0) return {};
  const auto kept = std::min(static_cast<std::size_t>(n), text.size());
  return text.substr(text.size() - kept);
}

Text TextMid(const Text& text, int start, int n) {
  if (start < 1 || n <= 0 || static_cast<std::size_t>(start) > text.size()) return {};
  return text.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(n));
}

Text CharFromCode(int code) {
  const auto byte = static_cast<char>(code & 0xFF);
  // A text never holds a zero byte, so a code whose low byte is zero gives nothing.
  return byte == 0 ? Text{} : Text(1, byte);
}

Text BlankText(int n) {
  return n <= 0 ? Text{} : Text(static_cast<std::size_t>(n), ' ');
}

}  // namespace quorvane
