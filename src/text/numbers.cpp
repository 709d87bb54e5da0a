#include <locale.h>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/character_walk.h"
#include "text/text.h"

namespace quorvane {
namespace {

// Full-width digits, signs, points and spaces become their ASCII forms.
std::string AsciiForms(const Text& text) {
  std::string ascii;
  ascii.reserve(text.size());
  for (std::size_t offset = 0; offset < text.size();) {
    const std::size_t width = CharacterWidth(text, offset);
    const auto first = static_cast<unsigned char>(text[offset]);
    const auto second = width == 2 ? static_cast<unsigned char>(text[offset + 1]) : 0;
    if (first == 0xA3 && second >= 0xA1 && second <= 0xFE) {
      ascii += static_cast<char>(second - 0x80);
    } else if (first == 0xA1 && second == 0xA1) {
      ascii += ' ';
    } else if (first == 0xA1 && second == 0xAB) {
      ascii += '~';
    } else if (first == 0xA1 && (second == 0xEE || second == 0xEF)) {
      ascii += '*';
    } else {
      ascii.append(text, offset, width);
    }
    offset += width;
  }
  return ascii;
}

bool IsCSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// Numbers are read the same whatever locale the desktop toolkit has set.
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

constexpr double kTwoTo63 = 9223372036854775808.0;

}  // namespace

double TextToNumber(const Text& text) {
  const std::string ascii = AsciiForms(text);
  return strtod_l(ascii.c_str(), nullptr, CLocale());
}

std::int32_t TextToInteger(const Text& text) {
  const std::string ascii = AsciiForms(text);
  std::size_t i = 0;
  while (i < ascii.size() && IsCSpace(ascii[i])) ++i;
  bool negative = false;
  if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-')) negative = ascii[i++] == '-';
  // Unsigned arithmetic wraps modulo 2^32, as a value too large for 32 bits must.
  std::uint32_t value = 0;
  for (; i < ascii.size() && ascii[i] >= '0' && ascii[i] <= '9'; ++i) {
    value = value * 10u + static_cast<std::uint32_t>(ascii[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

Text NumberToText(std::int32_t value) {
  char buffer[16];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return Text(buffer, end);
}

Text NumberToText(std::int64_t value) {
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return Text(buffer, end);
}

Text NumberToText(double value) {
  // Formats as "%.13g" does in the C locale.
  char buffer[48];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 13).ptr;
  return Text(buffer, end);
}

std::int64_t TruncateToInteger64(double value) {
  if (!(value >= -kTwoTo63 && value < kTwoTo63)) return 0;  // NaN fails both
  return static_cast<std::int64_t>(value);
}

std::int32_t TruncateToInteger(double value) {
  return static_cast<std::int32_t>(
      static_cast<std::uint32_t>(static_cast<std::uint64_t>(TruncateToInteger64(value))));
}

}  // namespace quorvane
