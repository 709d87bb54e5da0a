#include "fetch/url_parts.h"

namespace quorvane {

namespace {

Text HostByScheme(Text t, bool mainDomainOnly) {
  if (TextRight(t, 1) != "/") t += "/";
  if (TextLeft(t, 8) == "https://") {
    t = TextBetween(t, "https://", "/");
  } else {
    if (FindText(t, "http://") == -1) t = Concat("http://", t);
    // The first "http://" anywhere counts, even one inside a query.
    t = TextBetween(t, "http://", "/");
  }
  if (mainDomainOnly) {
    const TextArray labels = SplitText(t, ".");
    const int count = ItemCount(labels);
    if (count > 1) t = Concat(labels[count - 2], ".", labels[count - 1]);
  }
  return t;
}

Text HostByLevels(Text t, bool mainDomainOnly, int levels) {
  t = ReplaceText(t, "http://", {}, 1, std::nullopt, true);
  t = ReplaceText(t, "https://", {}, 1, std::nullopt, true);
  const int slash = FindText(t, "/");
  if (slash != -1) t = TextLeft(t, slash - 1);
  const int length = TextLength(t);
  // Starting at `length` never counts a dot in the last character.
  int h = length;
  for (int i = 0; i < levels && h != -1; ++i) h = FindTextReverse(t, ".", h);
  const int d = FindTextReverse(t, ".", h);
  if (mainDomainOnly) return TextRight(t, length - d);
  if (d == -1) return t;
  const int d2 = FindTextReverse(t, ".", d);
  return d2 == -1 ? t : TextRight(t, length - d2);
}

}  // namespace

Text UrlHost(const Text& url, bool mainDomainOnly, bool keepPort, std::optional<int> levels) {
  const Text lower = ToLowerCase(url);
  const Text t =
      levels ? HostByLevels(lower, mainDomainOnly, *levels) : HostByScheme(lower, mainDomainOnly);
  if (keepPort) return t;
  const int colon = FindText(t, ":");
  return colon == -1 ? t : TextLeft(t, colon - 1);
}

int UrlPort(const Text& url) {
  const Text host = UrlHost(url, false, true);
  const int colon = FindTextReverse(host, ":");
  if (colon == -1) return TextLeft(ToLowerCase(url), 5) == "https" ? 443 : 80;
  return TextToInteger(TextRight(host, TextLength(host) - colon));
}

Text UrlPath(const Text& url) {
  const int a = FindText(url, UrlHost(url), 1, true);
  const int b = FindText(url, "/", a, true);
  if (b == -1) return "/";
  return TextRight(url, TextLength(url) - b + 1);
}

}  // namespace quorvane
