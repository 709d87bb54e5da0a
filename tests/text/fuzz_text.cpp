#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/code_page.h"
#include "text/text.h"

// Feeds arbitrary bytes to every text operation. Besides what the sanitizers find, the
// one-pass searches must agree with a plain walk that compares at every character start.
namespace {

using quorvane::Text;
using quorvane::TextArray;

void Check(bool condition) {
  if (!condition) std::abort();
}

char Fold(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool MatchesAt(const Text& text, const Text& pattern, std::size_t at, bool foldCase) {
  if (text.size() - at < pattern.size()) return false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char a = text[at + i];
    const char b = pattern[i];
    if (foldCase ? Fold(a) != Fold(b) : a != b) return false;
  }
  return true;
}

// A first byte with nothing after it ends every walk by characters.
bool EndsWalk(const Text& text, std::size_t at) {
  return static_cast<unsigned char>(text[at]) >= 0x80 && at + 1 == text.size();
}

std::size_t NextCharacter(const Text& text, std::size_t at) {
  return at + (static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1);
}

int PlainFind(const Text& text, const Text& pattern, int start, bool foldCase) {
  std::size_t at = start >= 1 ? static_cast<std::size_t>(start) - 1 : 0;
  if (at >= text.size()) return -1;
  if (pattern.empty()) return 1;
  for (; at < text.size() && !EndsWalk(text, at); at = NextCharacter(text, at)) {
    if (MatchesAt(text, pattern, at, foldCase)) return static_cast<int>(at) + 1;
  }
  return -1;
}

int PlainFindReverse(const Text& text, const Text& pattern, int start, bool foldCase) {
  const std::size_t region = start <= 1 ? 0 : std::min<std::size_t>(start - 1, text.size());
  if (pattern.empty()) return region >= 1 ? 1 : -1;
  int last = -1;
  for (std::size_t at = 0; at < text.size() && !EndsWalk(text, at); at = NextCharacter(text, at)) {
    if (at + pattern.size() <= region && MatchesAt(text, pattern, at, foldCase)) {
      last = static_cast<int>(at) + 1;
    }
  }
  return last;
}

Text PlainReplace(const Text& text, const Text& find, int start, int count, bool foldCase) {
  std::size_t at = start > 1 ? static_cast<std::size_t>(start) - 1 : 0;
  if (text.empty() || find.empty() || at >= text.size() || count == 0) return text;
  Text out = text.substr(0, at);
  int done = 0;
  while (at < text.size() && !EndsWalk(text, at) && text.size() - at >= find.size() &&
         done != count) {
    if (MatchesAt(text, find, at, foldCase)) {
      out += "#";
      at += find.size();
      ++done;
    } else {
      const std::size_t next = NextCharacter(text, at);
      out.append(text, at, next - at);
      at = next;
    }
  }
  return out + text.substr(at);
}

TextArray PlainSplit(const Text& text, const Text& delimiter, int maxCount) {
  if (text.empty() || maxCount == 0) return {};
  if (delimiter.empty()) return {text};
  TextArray items;
  std::size_t cut = 0;
  std::size_t at = 0;
  while (at < text.size() && !EndsWalk(text, at) && static_cast<int>(items.size()) != maxCount) {
    if (MatchesAt(text, delimiter, at, false)) {
      items.push_back(text.substr(cut, at - cut));
      at += delimiter.size();
      cut = at;
    } else {
      at = NextCharacter(text, at);
    }
  }
  if (cut < text.size() && static_cast<int>(items.size()) != maxCount) {
    items.push_back(text.substr(cut));
  }
  return items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvane;
  if (size < 4) return 0;
  const int start = static_cast<std::int8_t>(data[0]);
  const int count = static_cast<std::int8_t>(data[1]) % 4;
  const bool flag = (data[2] & 1) != 0;
  const std::size_t patternLength = (data[2] >> 1) % 6;
  const std::string rest(reinterpret_cast<const char*>(data) + 3, size - 3);
  const Text pattern = rest.substr(0, patternLength);
  const Text text = rest.substr(std::min(patternLength, rest.size()));

  Check(FindText(text, pattern, start, flag) == PlainFind(text, pattern, start, flag));
  Check(FindTextReverse(text, pattern, start, flag) ==
        PlainFindReverse(text, pattern, start, flag));
  Check(ReplaceText(text, pattern, "#", start, count, flag) ==
        PlainReplace(text, pattern, start, count, !flag));
  Check(SplitText(text, pattern, count) == PlainSplit(text, pattern, count));

  const Text trimmed = TrimSpaces(text);
  const Text removed = RemoveSpaces(text);
  Check(trimmed.size() <= text.size() && removed.size() <= trimmed.size());
  Check(RemoveSpaces(trimmed) == removed);
  Check(ToLowerCase(text).size() == text.size());
  const double number = TextToNumber(text);
  (void)TextToInteger(text);
  (void)NumberToText(number);
  (void)TruncateToInteger(number);
  (void)TruncateToInteger64(number);
  (void)TextBetween(text, pattern, pattern, start, flag);

  const Bytes bytes(data, data + size);
  (void)ReplaceBytes(bytes, TextToBytes(pattern), {0}, start, count);
  Check(BytesToText(bytes).size() <= bytes.size());

  const std::string utf8 = Utf8FromCp936(text);
  (void)Cp936FromUtf8(utf8);
  (void)Cp936FromUtf8(text);
  (void)Cp936FromUtf16(Utf16FromCp936(text));
  std::u16string units(size / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  }
  (void)Cp936FromUtf16(units);
  return 0;
}
