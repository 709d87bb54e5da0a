#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane {

// A text holds code-page-936 bytes and never a zero byte. A byte of 0x80 or more starts a
// two-byte character. Lengths and positions count bytes; positions start at 1 and -1 means
// "not found". The empty text is the ordinary "no value".
using Text = std::string;
// A counted byte sequence that may hold zero bytes.
using Bytes = std::vector<std::uint8_t>;
// An ordered list of texts. The operations here number items from 1; the vector itself is
// indexed from 0 as usual in C++.
using TextArray = std::vector<Text>;

[[nodiscard]] int TextLength(const Text& text);
[[nodiscard]] Text TextLeft(const Text& text, int n);
[[nodiscard]] Text TextRight(const Text& text, int n);
[[nodiscard]] Text TextMid(const Text& text, int start, int n);

// Searches by characters: never reports a match inside a two-byte character.
[[nodiscard]] int FindText(const Text& text, const Text& pattern, int start = 0,
                           bool ignoreCase = false);
// The last occurrence lying wholly before position `start` (the whole text when omitted).
[[nodiscard]] int FindTextReverse(const Text& text, const Text& pattern,
                                  std::optional<int> start = std::nullopt, bool ignoreCase = false);
// `count` omitted (or negative) replaces every occurrence; `caseSensitive` false folds ASCII
// letters.
[[nodiscard]] Text ReplaceText(const Text& text, const Text& find, const Text& replacement = {},
                               int start = 1, std::optional<int> count = std::nullopt,
                               bool caseSensitive = false);
// `maxCount` omitted (or negative) sets no limit. A delimiter at the very end adds no empty item.
[[nodiscard]] TextArray SplitText(const Text& text, const Text& delimiter = ",",
                                  std::optional<int> maxCount = std::nullopt);

// A space is 0x20 or the full-width space A1 A1; tabs and line breaks are not spaces.
[[nodiscard]] Text TrimSpaces(const Text& text);
[[nodiscard]] Text RemoveSpaces(const Text& text);
[[nodiscard]] Text ToLowerCase(const Text& text);

// Full-width digits, signs and points read as their ASCII forms.
[[nodiscard]] double TextToNumber(const Text& text);
[[nodiscard]] std::int32_t TextToInteger(const Text& text);
[[nodiscard]] Text NumberToText(std::int32_t value);  // "%d"
[[nodiscard]] Text NumberToText(std::int64_t value);  // decimal, for 64-bit byte counts
[[nodiscard]] Text NumberToText(double value);        // "%.13g"

// A one-byte text of the code's low byte; the empty text when that byte is zero.
[[nodiscard]] Text CharFromCode(int code);
[[nodiscard]] Text BlankText(int n);

template <typename... Rest>
[[nodiscard]] Text Concat(const Text& first, const Rest&... rest) {
  Text joined(first);
  (joined.append(rest), ...);
  return joined;
}

template <typename... Rest>
[[nodiscard]] Bytes Concat(const Bytes& first, const Rest&... rest) {
  Bytes joined(first);
  (joined.insert(joined.end(), rest.begin(), rest.end()), ...);
  return joined;
}

[[nodiscard]] Bytes TextToBytes(const Text& text);
// The bytes before the first zero byte, unconverted.
[[nodiscard]] Text BytesToText(const Bytes& bytes);
[[nodiscard]] int BytesLength(const Bytes& bytes);
[[nodiscard]] Bytes BytesLeft(const Bytes& bytes, int n);
[[nodiscard]] Bytes BlankBytes(int n);
// As ReplaceText, byte by byte: no character stepping, no case folding.
[[nodiscard]] Bytes ReplaceBytes(const Bytes& bytes, const Bytes& find,
                                 const Bytes& replacement = {}, int start = 1,
                                 std::optional<int> count = std::nullopt);

template <typename... Rest>
[[nodiscard]] std::int32_t BitOr(std::int32_t first, Rest... rest) {
  return (first | ... | static_cast<std::int32_t>(rest));
}

// Toward zero, keeping the low 32 bits; 0 for infinities, NaN and values beyond 64 bits.
[[nodiscard]] std::int32_t TruncateToInteger(double value);
// Toward zero; 0 for infinities, NaN and values beyond 64 bits.
[[nodiscard]] std::int64_t TruncateToInteger64(double value);

[[nodiscard]] int ItemCount(const TextArray& items);
void AppendItem(TextArray& items, const Text& text);

// The text between the first start marker (at or after `start`) and the next end marker after
// it. In both markers the token "#引号" stands for a double quote.
[[nodiscard]] Text TextBetween(const Text& text, const Text& startMarker, const Text& endMarker,
                               int start = 0, bool ignoreCase = false);

}  // namespace quorvane
