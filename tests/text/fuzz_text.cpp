#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/code_page.h"
#include "text/text.h"

// Feeds arbitrary bytes to every text operation. Besides the sanitizers' findings it checks
// properties that must hold for any input.
namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvane;
  if (size < 4) return 0;
  const int start = static_cast<std::int8_t>(data[0]);
  const int count = static_cast<std::int8_t>(data[1]);
  const std::size_t split = data[2] % (size - 3);
  const std::string rest(reinterpret_cast<const char*>(data) + 3, size - 3);
  const Text pattern = rest.substr(0, split % 8);
  const Text text = rest.substr(split % 8);
  const bool flag = (data[3] & 1) != 0;

  const int found = FindText(text, pattern, start, flag);
  Check(found == -1 || (found >= 1 && found <= TextLength(text)));
  if (found != -1 && !flag && !pattern.empty())
    Check(TextMid(text, found, TextLength(pattern)) == pattern);
  const int last = FindTextReverse(text, pattern, start, flag);
  Check(last == -1 || last + TextLength(pattern) <= std::max(start, 1) || pattern.empty());

  const Text replaced = ReplaceText(text, pattern, "#", start, count, flag);
  if (pattern.size() == 1 && !flag && start <= 1 && count < 0 && pattern != "#") {
    Check(FindText(replaced, pattern) == -1 || FindText(text, pattern) == -1 ||
          static_cast<unsigned char>(pattern[0]) >= 0x80);
  }
  const TextArray items = SplitText(text, pattern, count);
  std::size_t itemBytes = 0;
  for (const Text& item : items) itemBytes += item.size();
  Check(itemBytes <= text.size());

  const Text trimmed = TrimSpaces(text);
  const Text removed = RemoveSpaces(text);
  Check(trimmed.size() <= text.size() && removed.size() <= trimmed.size());
  Check(ToLowerCase(text).size() == text.size());
  (void)TextToNumber(text);
  (void)TextToInteger(text);
  (void)NumberToText(TextToNumber(text));
  (void)TruncateToInteger(TextToNumber(text));
  (void)TextBetween(text, pattern, pattern, start, flag);

  const Bytes bytes(data, data + size);
  (void)ReplaceBytes(bytes, TextToBytes(pattern), {0}, start, count);
  Check(BytesToText(bytes).size() <= bytes.size());

  const std::string utf8 = Utf8FromCp936(text);
  (void)Cp936FromUtf8(utf8);
  (void)Cp936FromUtf8(text);
  const std::u16string utf16 = Utf16FromCp936(text);
  (void)Cp936FromUtf16(utf16);
  std::u16string units(size / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  }
  (void)Cp936FromUtf16(units);
  return 0;
}
