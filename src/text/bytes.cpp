#include <algorithm>
#include <cstddef>
#include <string_view>

#include "text/replace_matches.h"
#include "text/text.h"

namespace quorvane {
namespace {

std::string_view View(const Bytes& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

Bytes TextToBytes(const Text& text) {
  return Bytes(text.begin(), text.end());
}

Text BytesToText(const Bytes& bytes) {
  const auto zero = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  return Text(bytes.begin(), zero);
}

int BytesLength(const Bytes& bytes) {
  return static_cast<int>(bytes.size());
}

Bytes BytesLeft(const Bytes& bytes, int n) {
  if (n <= 0) return {};
  const auto kept = std::min(static_cast<std::size_t>(n), bytes.size());
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(kept));
}

Bytes BlankBytes(int n) {
  return n <= 0 ? Bytes{} : Bytes(static_cast<std::size_t>(n), 0);
}

Bytes ReplaceBytes(const Bytes& bytes, const Bytes& find, const Bytes& replacement, int start,
                   std::optional<int> count) {
  const std::string replaced = ReplaceMatches(View(bytes), View(find), View(replacement), start,
                                              count, false, PatternScan::Stepping::Bytes);
  return Bytes(replaced.begin(), replaced.end());
}

}  // namespace quorvane
