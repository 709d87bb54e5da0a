#include "fetch/fetch_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quorvane {
namespace {

// Records what the page fetch asks of the client and answers from a script.
class FakeHttpClient : public HttpClient {
 public:
  enum class Step { kNone, kOpen, kConnect, kOpenRequest };

  bool Open(const Text& agentText, const Text& proxyText) override {
    calls.push_back("Open");
    agent = agentText;
    proxy = proxyText;
    return failAt != Step::kOpen;
  }
  bool Connect(const Text& hostText, int portNumber) override {
    calls.push_back("Connect");
    host = hostText;
    port = portNumber;
    return failAt != Step::kConnect;
  }
  bool OpenRequest(const Text& verbText, const Text& pathText,
                   const RequestFlags& requestFlags) override {
    calls.push_back("OpenRequest");
    verb = verbText;
    path = pathText;
    flags = requestFlags;
    return failAt != Step::kOpenRequest;
  }
  void Send(const Text& headerText, const Bytes& bodyBytes) override {
    calls.push_back("Send");
    sentHeaders = headerText;
    sentBody = bodyBytes;
  }
  Bytes ReadBody(int maxCount) override {
    calls.push_back("ReadBody");
    largestRead = std::max(largestRead, maxCount);
    const auto count =
        std::min<std::size_t>(static_cast<std::size_t>(maxCount), replyBody.size() - readOffset);
    Bytes block(replyBody.begin() + static_cast<std::ptrdiff_t>(readOffset),
                replyBody.begin() + static_cast<std::ptrdiff_t>(readOffset + count));
    readOffset += count;
    return block;
  }
  void QueryRawHeaders(Text& block, int bufferSize) override {
    calls.push_back("QueryRawHeaders");
    if (TextLength(replyHeaders) + 1 <= bufferSize) block = replyHeaders;
  }
  void CloseRequest() override { calls.push_back("CloseRequest"); }
  void CloseConnection() override { calls.push_back("CloseConnection"); }
  void Close() override { calls.push_back("Close"); }

  Step failAt = Step::kNone;
  Bytes replyBody;
  Text replyHeaders = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n";

  std::vector<std::string> calls;
  Text agent, proxy, host, verb, path, sentHeaders;
  int port = 0;
  int largestRead = 0;
  RequestFlags flags;
  Bytes sentBody;

 private:
  std::size_t readOffset = 0;
};

const Text kDefaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

TEST(FetchPageTest, DefaultGetSendsTheDefaultHeadersAndReturnsTheWholeBody) {
  FakeHttpClient client;
  client.replyBody = Bytes(2500, 'x');
  client.replyBody[1024] = 0;
  const Text url = "http://Resolver.Example/baidu/?url=https://pan.example/s/1Ab";

  const Bytes page = FetchPage(client, url);

  EXPECT_EQ(page, client.replyBody);
  EXPECT_EQ(client.largestRead, 1024);
  EXPECT_EQ(client.agent, kDefaultAgent);
  EXPECT_EQ(client.proxy, "");
  EXPECT_EQ(client.host, "resolver.example");
  EXPECT_EQ(client.port, 80);
  EXPECT_EQ(client.verb, "GET");
  EXPECT_EQ(client.path, "/baidu/?url=https://pan.example/s/1Ab");
  EXPECT_FALSE(client.flags.secure);
  EXPECT_FALSE(client.flags.noCookies);
  EXPECT_FALSE(client.flags.noRedirect);
  EXPECT_EQ(client.sentHeaders, Concat("Accept: */*\r\nReferer: ", url,
                                       "\r\nAccept-Language: zh-cn"
                                       "\r\nContent-Type: application/x-www-form-urlencoded"));
  EXPECT_TRUE(client.sentBody.empty());
  const std::vector<std::string> order = {
      "Open",     "Connect",  "OpenRequest",     "Send",         "ReadBody",        "ReadBody",
      "ReadBody", "ReadBody", "QueryRawHeaders", "CloseRequest", "CloseConnection", "Close"};
  EXPECT_EQ(client.calls, order);
}

TEST(FetchPageTest, SecureUrlAndOptionsSetTheRequestFlags) {
  FakeHttpClient client;
  Text cookies;
  (void)FetchPage(client, "HTTPS://host.example:8443/p", 0, {}, &cookies, nullptr, nullptr, nullptr,
                  true);
  EXPECT_EQ(client.host, "host.example");
  EXPECT_EQ(client.port, 8443);
  EXPECT_EQ(client.path, "/p");
  EXPECT_TRUE(client.flags.secure);
  EXPECT_TRUE(client.flags.noCookies);
  EXPECT_TRUE(client.flags.noRedirect);
}

TEST(FetchPageTest, ProxyGetsHttpPrefixOnlyForPlainUrls) {
  FakeHttpClient plain;
  (void)FetchPage(plain, "http://host.example/", 0, {}, nullptr, nullptr, nullptr, nullptr, false,
                  nullptr, "127.0.0.1:3128");
  EXPECT_EQ(plain.proxy, "http=127.0.0.1:3128");

  FakeHttpClient secure;
  (void)FetchPage(secure, "https://host.example/", 0, {}, nullptr, nullptr, nullptr, nullptr, false,
                  nullptr, "127.0.0.1:3128");
  EXPECT_EQ(secure.proxy, "127.0.0.1:3128");
}

struct HeaderCase {
  const char* what;
  Text headers;
  Text agent;
  Text completed;  // after the caller's lines; "R" stands for the Referer line
};

TEST(FetchPageTest, CompletesTheCallersHeadersAndPicksTheAgent) {
  const Text url = "http://h.example/";
  const Text referer = Concat("\r\nReferer: ", url);
  const Text tail = Concat(referer, "\r\nAccept-Language: zh-cn",
                           "\r\nContent-Type: application/x-www-form-urlencoded");
  const HeaderCase cases[] = {
      {"a lower-case accept line is not seen", "accept: text/html", kDefaultAgent,
       Concat("accept: text/html\r\nAccept: */*", tail)},
      {"a User-Agent line gives the agent and stays", "User-Agent: X", "X",
       Concat("User-Agent: X\r\nAccept: */*", tail)},
      {"a User-Agent line followed by another", "User-Agent:  Y 1 \r\nAccept: a", "Y 1",
       Concat("User-Agent:  Y 1 \r\nAccept: a", tail)},
      {"a last User-Agent line makes the agent the value of the whole text",
       "Accept: a\r\nUser-Agent: X", "a\r\nUser-Agent: X",
       Concat("Accept: a\r\nUser-Agent: X", tail)},
      {"another letter case takes the same road", "user-agent: Q\r\nX: 1", "Q\r\nX: 1",
       Concat("user-agent: Q\r\nX: 1\r\nAccept: */*", tail)},
      {"present lines are not added again",
       "Accept: a\r\nReferer: r\r\nAccept-Language: en\r\nContent-Type: text/plain", kDefaultAgent,
       "Accept: a\r\nReferer: r\r\nAccept-Language: en\r\nContent-Type: text/plain"},
  };
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakeHttpClient client;
    Text headers = c.headers;
    (void)FetchPage(client, url, 0, {}, nullptr, nullptr, &headers);
    EXPECT_EQ(client.agent, c.agent);
    EXPECT_EQ(headers, c.completed);
    EXPECT_EQ(client.sentHeaders, c.completed);
  }
}

TEST(FetchPageTest, SendsBodiesForEveryMethodButZero) {
  FakeHttpClient post;
  Bytes postBytes;
  (void)FetchPage(post, "http://h/", 1, "a=1&b=2", nullptr, nullptr, nullptr, nullptr, false,
                  &postBytes);
  EXPECT_EQ(post.verb, "POST");
  EXPECT_EQ(post.sentBody, TextToBytes("a=1&b=2"));
  EXPECT_EQ(postBytes, TextToBytes("a=1&b=2"));

  FakeHttpClient bytesWin;
  Bytes given = {0, 1, 2, 0xFF};
  (void)FetchPage(bytesWin, "http://h/", 1, "ignored", nullptr, nullptr, nullptr, nullptr, false,
                  &given);
  EXPECT_EQ(bytesWin.sentBody, (Bytes{0, 1, 2, 0xFF}));
  EXPECT_EQ(given, (Bytes{0, 1, 2, 0xFF}));

  FakeHttpClient getWithBody;
  (void)FetchPage(getWithBody, "http://h/", 2, "q");
  EXPECT_EQ(getWithBody.verb, "GET");
  EXPECT_EQ(getWithBody.sentBody, TextToBytes("q"));

  FakeHttpClient plainGet;
  Bytes untouched;
  (void)FetchPage(plainGet, "http://h/", 0, "q", nullptr, nullptr, nullptr, nullptr, false,
                  &untouched);
  EXPECT_TRUE(plainGet.sentBody.empty());
  EXPECT_TRUE(untouched.empty());
}

struct CookieCase {
  const char* what;
  Text replyHeaders;
  Text newCookies;
  Text responseHeaders;
};

TEST(FetchPageTest, GathersTheReplysCookies) {
  const CookieCase cases[] = {
      {"both letter cases", "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; Path=/\r\nset-cookie: b=2\r\n",
       "a=1; b=2", "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; Path=/\r\nSet-Cookie: b=2\r\n"},
      {"a line with Set-Cookie and ; but no Set-Cookie: gives an empty item",
       "HTTP/1.1 200 OK\r\nX-Set-Cookie-Note; x\r\nSet-Cookie: c=3\r\n", "; c=3",
       "HTTP/1.1 200 OK\r\nX-Set-Cookie-Note; x\r\nSet-Cookie: c=3\r\n"},
      {"no cookies", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n", "",
       "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n"},
  };
  for (const CookieCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakeHttpClient client;
    client.replyHeaders = c.replyHeaders;
    Text newCookies = "stale=1";
    Text responseHeaders;
    (void)FetchPage(client, "http://h/", 0, {}, nullptr, &newCookies, nullptr, &responseHeaders);
    EXPECT_EQ(newCookies, c.newCookies);
    EXPECT_EQ(responseHeaders, c.responseHeaders);
  }
}

TEST(FetchPageTest, SuppliedCookiesAreSentAndMerged) {
  FakeHttpClient client;
  client.replyHeaders = "HTTP/1.1 200 OK\r\nSet-Cookie: b=3; Path=/\r\nSet-Cookie: c=4\r\n";
  Text cookies = "a=1; b=2";
  Text newCookies;
  Text headers = "Cookie: mine=1";
  (void)FetchPage(client, "http://h/", 0, {}, &cookies, &newCookies, &headers);
  // A Cookie line of the caller's own does not stop the supplied one.
  EXPECT_NE(FindText(client.sentHeaders, "Cookie: mine=1\r\n"), -1);
  EXPECT_EQ(TextRight(client.sentHeaders, 18), "\r\nCookie: a=1; b=2");
  EXPECT_EQ(cookies, "b=3; c=4; a=1");
  EXPECT_EQ(newCookies, "b=3;c=4");

  FakeHttpClient empty;
  empty.replyHeaders = "HTTP/1.1 200 OK\r\nSet-Cookie: s=1\r\n";
  Text none;
  (void)FetchPage(empty, "http://h/", 0, {}, &none);
  EXPECT_EQ(FindText(empty.sentHeaders, "Cookie"), -1);
  EXPECT_TRUE(empty.flags.noCookies);
  EXPECT_EQ(none, "s=1");
}

TEST(FetchPageTest, OversizedHeaderBlockLeavesBlanksAndNoCookies) {
  FakeHttpClient client;
  client.replyHeaders =
      Concat("HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nX: ", BlankText(4961), "\r\n");
  ASSERT_EQ(TextLength(client.replyHeaders), 5000);
  Text newCookies;
  Text responseHeaders;
  (void)FetchPage(client, "http://h/", 0, {}, nullptr, &newCookies, nullptr, &responseHeaders);
  EXPECT_EQ(responseHeaders, BlankText(5000));
  EXPECT_EQ(newCookies, "");

  FakeHttpClient fits;
  fits.replyHeaders = TextLeft(client.replyHeaders, 4999);
  (void)FetchPage(fits, "http://h/", 0, {}, nullptr, &newCookies, nullptr, &responseHeaders);
  EXPECT_EQ(responseHeaders, fits.replyHeaders);
  EXPECT_EQ(newCookies, "a=1");
}

TEST(FetchPageTest, FailedOpeningLeavesEveryParameterAndClosesWhatWasOpened) {
  struct FailCase {
    FakeHttpClient::Step step;
    std::vector<std::string> calls;
  };
  const FailCase cases[] = {
      {FakeHttpClient::Step::kOpen, {"Open"}},
      {FakeHttpClient::Step::kConnect, {"Open", "Connect", "Close"}},
      {FakeHttpClient::Step::kOpenRequest,
       {"Open", "Connect", "OpenRequest", "CloseConnection", "Close"}},
  };
  for (const FailCase& c : cases) {
    FakeHttpClient client;
    client.failAt = c.step;
    client.replyBody = TextToBytes("body");
    Text cookies = "a = 1";
    Text newCookies = "n";
    Text headers = "X: 1";
    Text responseHeaders = "r";
    Bytes postBytes;
    const Bytes page = FetchPage(client, "http://h/", 1, "text", &cookies, &newCookies, &headers,
                                 &responseHeaders, false, &postBytes);
    EXPECT_TRUE(page.empty());
    EXPECT_EQ(client.calls, c.calls);
    EXPECT_EQ(cookies, "a = 1");
    EXPECT_EQ(newCookies, "n");
    EXPECT_EQ(headers, "X: 1");
    EXPECT_EQ(responseHeaders, "r");
    EXPECT_TRUE(postBytes.empty());
  }
}

TEST(HeaderValueTest, TakesTheTrimmedTextAfterTheFirstColon) {
  EXPECT_EQ(HeaderValue("Content-Type:  text/html; a=b:c "), "text/html; a=b:c");
  EXPECT_EQ(HeaderValue("Name:"), "");
  EXPECT_EQ(HeaderValue("no colon"), "");
  EXPECT_EQ(HeaderValue(""), "");
}

}  // namespace
}  // namespace quorvane
