#include "resolve/decode_escapes.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/code_page.h"

namespace quorvane {
namespace {

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The code unit written by `count` hex digits at `at`, or nothing when they are not all there.
std::optional<char16_t> ReadHex(std::u16string_view s, std::size_t at, std::size_t count) {
  if (at + count > s.size()) return std::nullopt;
  unsigned value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    const int digit = HexValue(s[i]);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return static_cast<char16_t>(value);
}

bool IsLineTerminator(char16_t c) {
  return c == u'\n' || c == u'\r' || c == u'\u2028' || c == u'\u2029';
}

bool IsOctalDigit(char16_t c) {
  return c >= u'0' && c <= u'7';
}

// Reads the body of a single-quoted string literal of the 3rd-edition script language, with
// its octal escapes. Nothing when the body could not stand between the quotes. Escapes the
// language leaves malformed (\x or \u without their hex digits, \8, \9) give the letter or
// digit itself, as the common script engines do.
std::optional<std::u16string> ReadStringLiteral(std::u16string_view body) {
  std::u16string value;
  for (std::size_t i = 0; i < body.size(); ++i) {
    const char16_t c = body[i];
    if (IsLineTerminator(c)) return std::nullopt;
    if (c != u'\\') {
      value += c;
      continue;
    }
    if (++i == body.size()) return std::nullopt;
    const char16_t e = body[i];
    if (IsLineTerminator(e)) return std::nullopt;
    switch (e) {
      case u'b':
        value += u'\b';
        break;
      case u'f':
        value += u'\f';
        break;
      case u'n':
        value += u'\n';
        break;
      case u'r':
        value += u'\r';
        break;
      case u't':
        value += u'\t';
        break;
      case u'v':
        value += u'\v';
        break;
      case u'x':
      case u'u': {
        const std::size_t digits = e == u'x' ? 2 : 4;
        if (const auto unit = ReadHex(body, i + 1, digits)) {
          value += *unit;
          i += digits;
        } else {
          value += e;
        }
        break;
      }
      default:
        if (IsOctalDigit(e)) {
          // Up to three digits from 0-3 on (at most \377), up to two from 4-7 on.
          const std::size_t maxDigits = e <= u'3' ? 3 : 2;
          unsigned code = e - u'0';
          std::size_t taken = 1;
          while (taken < maxDigits && i + 1 < body.size() && IsOctalDigit(body[i + 1])) {
            code = code * 8 + (body[++i] - u'0');
            ++taken;
          }
          value += static_cast<char16_t>(code);
        } else {
          value += e;
        }
    }
  }
  return value;
}

// %uXXXX gives that code unit and %XX the code unit 00XX; any other % stays.
std::u16string Unescape(std::u16string_view s) {
  std::u16string result;
  for (std::size_t k = 0; k < s.size(); ++k) {
    if (s[k] == u'%') {
      if (k + 1 < s.size() && s[k + 1] == u'u') {
        if (const auto unit = ReadHex(s, k + 2, 4)) {
          result += *unit;
          k += 5;
          continue;
        }
      }
      if (const auto unit = ReadHex(s, k + 1, 2)) {
        result += *unit;
        k += 2;
        continue;
      }
    }
    result += s[k];
  }
  return result;
}

Text ReplaceAll(const Text& text, const Text& find, const Text& replacement) {
  return ReplaceText(text, find, replacement, 1, std::nullopt, true);
}

}  // namespace

Text DecodeEscapes(const Text& text) {
  // CR LF and the apostrophe are stood in for while the text is read as a literal, and the
  // stand-ins are turned back afterwards wherever they appear, also where they came from the
  // text itself or from an escape.
  static const Text kCrLfStandIn = "{$}";
  static const Text kApostropheStandIn = Cp936FromUtf8("\u2019");

  Text protectedText = ReplaceAll(text, "\r\n", kCrLfStandIn);
  if (!protectedText.empty() && protectedText.front() == '\r') protectedText.erase(0, 1);
  protectedText = ReplaceAll(protectedText, "\\u", "%u");
  protectedText = ReplaceAll(protectedText, "'", kApostropheStandIn);

  const auto literal = ReadStringLiteral(Utf16FromCp936(protectedText));
  if (!literal) return {};
  Text decoded = Cp936FromUtf16(Unescape(*literal));
  decoded = ReplaceAll(decoded, kApostropheStandIn, "'");
  return ReplaceAll(decoded, kCrLfStandIn, "\r\n");
}

}  // namespace quorvane
