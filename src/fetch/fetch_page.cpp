#include "fetch/fetch_page.h"

#include "fetch/cookie_merge.h"
#include "fetch/url_parts.h"

namespace quorvane {

namespace {

constexpr int kBodyReadBlock = 1024;
constexpr int kResponseHeaderBuffer = 5000;

Text UserAgent(const Text& headers) {
  static const Text kDefaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
  if (FindText(headers, "User-Agent:", 0, true) == -1) return kDefaultAgent;
  const Text agent = TrimSpaces(TextBetween(headers, "User-Agent:", "\r\n"));
  // A last line without a line break, or one in another letter case, is not found above.
  return agent.empty() ? HeaderValue(headers) : agent;
}

void CompleteHeaders(Text& headers, const Text& url, const Text& cookies) {
  if (headers.empty()) {
    headers = "Accept: */*";
  } else if (FindText(headers, "Accept:") == -1) {
    headers += "\r\nAccept: */*";
  }
  if (FindText(headers, "Referer:") == -1) headers += Concat("\r\nReferer: ", url);
  if (FindText(headers, "Accept-Language:") == -1) headers += "\r\nAccept-Language: zh-cn";
  if (FindText(headers, "Content-Type:") == -1) {
    headers += "\r\nContent-Type: application/x-www-form-urlencoded";
  }
  if (!cookies.empty()) headers += Concat("\r\nCookie: ", cookies);
}

// The first name=value pair of every Set-Cookie line, joined by "; ".
Text GatherCookies(const Text& responseHeaders) {
  Text gathered;
  for (const Text& line : SplitText(responseHeaders, "\r\n")) {
    if (FindText(line, "Set-Cookie") == -1) continue;
    const Text item = FindText(line, ";") != -1 ? TrimSpaces(TextBetween(line, "Set-Cookie:", ";"))
                                                : TrimSpaces(ReplaceText(line, "Set-Cookie:"));
    gathered += Concat(item, "; ");
  }
  return TextLeft(gathered, TextLength(gathered) - 2);
}

}  // namespace

Bytes FetchPage(HttpClient& client, const Text& url, int method, const Text& postText,
                Text* cookies, Text* newCookies, Text* headers, Text* responseHeaders,
                bool noRedirect, Bytes* postBytes, const Text& proxy) {
  // Parameters left out are worked on as temporaries, so every step runs the same way.
  Text headersTemporary;
  Text newCookiesTemporary;
  Text responseHeadersTemporary;
  Bytes postBytesTemporary;
  Text& requestHeaders = headers != nullptr ? *headers : headersTemporary;
  Text& replyCookies = newCookies != nullptr ? *newCookies : newCookiesTemporary;
  Text& replyHeaders = responseHeaders != nullptr ? *responseHeaders : responseHeadersTemporary;
  Bytes& postBody = postBytes != nullptr ? *postBytes : postBytesTemporary;

  const Text verb = method == 1 ? "POST" : "GET";
  const bool secure = ToLowerCase(TextLeft(url, 5)) == "https";

  if (!client.Open(UserAgent(requestHeaders),
                   proxy.empty() || secure ? proxy : Concat("http=", proxy))) {
    return {};
  }
  if (!client.Connect(UrlHost(url), UrlPort(url))) {
    client.Close();
    return {};
  }
  const RequestFlags flags{
      .secure = secure, .noCookies = cookies != nullptr, .noRedirect = noRedirect};
  if (!client.OpenRequest(verb, UrlPath(url), flags)) {
    client.CloseConnection();
    client.Close();
    return {};
  }

  CompleteHeaders(requestHeaders, url, cookies != nullptr ? *cookies : Text{});
  if (method == 0) {
    client.Send(requestHeaders, {});
  } else {
    if (postBody.empty()) postBody = TextToBytes(postText);
    client.Send(requestHeaders, postBody);
  }

  Bytes page;
  for (Bytes block = client.ReadBody(kBodyReadBlock); !block.empty();
       block = client.ReadBody(kBodyReadBlock)) {
    page.insert(page.end(), block.begin(), block.end());
  }

  replyHeaders = BlankText(kResponseHeaderBuffer);
  client.QueryRawHeaders(replyHeaders, kResponseHeaderBuffer);
  replyHeaders = ReplaceText(replyHeaders, "Set-Cookie", "Set-Cookie");

  client.CloseRequest();
  client.CloseConnection();
  client.Close();

  replyCookies = GatherCookies(replyHeaders);
  if (cookies != nullptr) MergeCookies(*cookies, replyCookies);
  return page;
}

Text HeaderValue(const Text& line) {
  const int colon = FindText(line, ":");
  if (colon == -1) return {};
  return TrimSpaces(TextRight(line, TextLength(line) - colon));
}

}  // namespace quorvane
