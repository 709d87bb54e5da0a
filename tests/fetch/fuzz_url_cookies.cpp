// Feeds arbitrary bytes to the URL splitting and the cookie merging: neither may crash, a path
// always starts with "/", and the merge hands back what it left in `cookies`.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fetch/cookie_merge.h"
#include "fetch/url_parts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvane;
  if (size < 2) return 0;
  const std::uint8_t options = data[0];
  const int levels = static_cast<std::int8_t>(data[1]);
  // A text never holds a zero byte: the rest is cut into two texts at its first two zeros.
  const std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::size_t cut = rest.find('\0');
  const Text first = rest.substr(0, cut);
  const Text second =
      cut == std::string::npos ? Text{} : rest.substr(cut + 1, rest.find('\0', cut + 1) - cut - 1);

  (void)UrlHost(first, (options & 1) != 0, (options & 2) != 0);
  (void)UrlHost(first, (options & 1) != 0, (options & 2) != 0, levels);
  (void)UrlPort(first);
  const Text path = UrlPath(first);
  if (path.empty() || path[0] != '/') std::abort();

  Text cookies = first;
  Text newCookies = second;
  const Text merged = MergeCookies(cookies, newCookies);
  if (merged != cookies || FindText(newCookies, " ") != -1 || FindText(cookies, ";;") != -1) {
    std::abort();
  }
  return 0;
}
