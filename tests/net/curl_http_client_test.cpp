#include "net/curl_http_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fetch/fetch_page.h"
#include "support/child_process.h"
#include "support/nginx_fixture.h"
#include "support/test_http_server.h"

namespace quorvane {
namespace {

using testing::TestHttpServer;

const std::string kAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

std::string Host(const TestHttpServer& server) {
  return "127.0.0.1:" + std::to_string(server.port());
}

std::string BytesAsString(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// The header lines that a fetch adds to an empty header text.
std::string DefaultLines(const std::string& url) {
  return "Accept: */*\r\nReferer: " + url +
         "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded\r\n";
}

class FetchOverCurlTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.started()); }

  TestHttpServer server;
  CurlHttpClient client;
};

TEST_F(FetchOverCurlTest, DefaultGetSendsExactlyTheRequestAndReturnsBodyAndHeaders) {
  server.Script({{.headers = {{"X-Reply", "1"}}, .body = std::string("page\0body", 9)}});
  const std::string url = server.Url("/baidu/?url=https://pan.example/s/1Ab");
  Text responseHeaders;
  const Bytes page = FetchPage(client, url, 0, {}, nullptr, nullptr, nullptr, &responseHeaders);

  EXPECT_EQ(BytesAsString(page), std::string("page\0body", 9));
  EXPECT_EQ(responseHeaders, "HTTP/1.1 200 OK\r\nX-Reply: 1\r\nContent-Length: 9\r\n");
  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0],
            "GET /baidu/?url=https://pan.example/s/1Ab HTTP/1.1\r\nHost: " + Host(server) +
                "\r\nUser-Agent: " + kAgent + "\r\n" + DefaultLines(url) + "\r\n");
}

TEST_F(FetchOverCurlTest, PostsTextAndBytes) {
  server.Script({{.repeat = true, .body = "ok"}});
  const std::string url = server.Url("/form");
  Bytes postBytes;
  EXPECT_EQ(BytesAsString(FetchPage(client, url, 1, "a=1&b=\xB5", nullptr, nullptr, nullptr,
                                    nullptr, false, &postBytes)),
            "ok");
  EXPECT_EQ(BytesAsString(postBytes), "a=1&b=\xB5");

  // Bytes with zeros, and large enough that libcurl would otherwise ask to expect a 100.
  Bytes binary(1100 * 1024, 0);
  binary[1] = 0xFF;
  (void)FetchPage(client, url, 1, "ignored", nullptr, nullptr, nullptr, nullptr, false, &binary);
  // Any method but 0 and 1 sends its body with GET.
  (void)FetchPage(client, url, 2, "q=1");

  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  const std::string head = "Host: " + Host(server) + "\r\nUser-Agent: " + kAgent + "\r\n";
  EXPECT_EQ(requests[0], "POST /form HTTP/1.1\r\n" + head + DefaultLines(url) +
                             "Content-Length: 7\r\n\r\na=1&b=\xB5");
  EXPECT_EQ(requests[1], "POST /form HTTP/1.1\r\n" + head + DefaultLines(url) +
                             "Content-Length: 1126400\r\n\r\n" + BytesAsString(binary));
  EXPECT_EQ(requests[2],
            "GET /form HTTP/1.1\r\n" + head + DefaultLines(url) + "Content-Length: 3\r\n\r\nq=1");
}

TEST_F(FetchOverCurlTest, CallersOwnAgentAndAcceptAreSentOnce) {
  server.Script({{}});
  const std::string url = server.Url("/h");
  Text headers = "User-Agent: Mine/1.0\r\nAccept: text/html\r\nX-Empty:";
  (void)FetchPage(client, url, 0, {}, nullptr, nullptr, &headers);
  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], "GET /h HTTP/1.1\r\nHost: " + Host(server) +
                             "\r\nUser-Agent: Mine/1.0\r\nAccept: text/html\r\nX-Empty:\r\n"
                             "Referer: " +
                             url +
                             "\r\nAccept-Language: zh-cn\r\n"
                             "Content-Type: application/x-www-form-urlencoded\r\n\r\n");
}

TEST_F(FetchOverCurlTest, PathBytesThatCannotStandInARequestLineAreEncoded) {
  server.Script({{}});
  (void)FetchPage(client, server.Url("/a b/\xC4\xE3?u=x#frag"));
  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].substr(0, requests[0].find("\r\n")),
            "GET /a%20b/%C4%E3?u=x%23frag HTTP/1.1");
}

TEST_F(FetchOverCurlTest, GathersCookiesInBothLetterCases) {
  server.Script({{.headers = {{"Set-Cookie", "a=1; Path=/"}, {"set-cookie", "b=2"}}}});
  Text newCookies;
  Text responseHeaders;
  (void)FetchPage(client, server.Url("/"), 0, {}, nullptr, &newCookies, nullptr, &responseHeaders);
  EXPECT_EQ(newCookies, "a=1; b=2");
  EXPECT_EQ(responseHeaders,
            "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; Path=/\r\nSet-Cookie: b=2\r\n"
            "Content-Length: 0\r\n");
}

TEST_F(FetchOverCurlTest, SuppliedCookiesReplaceTheSharedStore) {
  server.Script({{.path = "/set", .headers = {{"Set-Cookie", "stored=1"}}},
                 {.path = "/plain"},
                 {.path = "/mine", .headers = {{"Set-Cookie", "b=3; Path=/"}}},
                 {.path = "/empty"},
                 {.path = "/after"}});
  // Without supplied cookies the client keeps what the server set and sends it back.
  (void)FetchPage(client, server.Url("/set"));
  (void)FetchPage(client, server.Url("/plain"));
  Text cookies = "a=1; b=2";
  (void)FetchPage(client, server.Url("/mine"), 0, {}, &cookies);
  Text empty;
  (void)FetchPage(client, server.Url("/empty"), 0, {}, &empty);
  // Nor does a reply to supplied cookies reach the store.
  (void)FetchPage(client, server.Url("/after"));

  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 5u);
  EXPECT_EQ(requests[0].find("Cookie"), std::string::npos);
  EXPECT_NE(requests[1].find("\r\nCookie: stored=1\r\n"), std::string::npos);
  EXPECT_NE(requests[2].find("\r\nCookie: a=1; b=2\r\n"), std::string::npos);
  EXPECT_EQ(requests[2].find("stored"), std::string::npos);
  EXPECT_EQ(requests[3].find("Cookie"), std::string::npos);
  EXPECT_NE(requests[4].find("\r\nCookie: stored=1\r\n"), std::string::npos);
  EXPECT_EQ(requests[4].find("b=3"), std::string::npos);
  EXPECT_EQ(cookies, "b=3; a=1");
  EXPECT_EQ(empty, "");
}

TEST_F(FetchOverCurlTest, RedirectsAreFollowedUnlessRefused) {
  const std::vector<TestHttpServer::Reply> replies = {
      {.path = "/from",
       .repeat = true,
       .status = 302,
       .reason = "Found",
       .headers = {{"Location", "/to"}},
       .body = "moved"},
      {.path = "/to", .repeat = true, .body = "arrived"}};
  server.Script(replies);
  Text responseHeaders;
  EXPECT_EQ(BytesAsString(FetchPage(client, server.Url("/from"), 0, {}, nullptr, nullptr, nullptr,
                                    &responseHeaders, true)),
            "moved");
  EXPECT_EQ(TextLeft(responseHeaders, 22), "HTTP/1.1 302 Found\r\nLo");
  EXPECT_EQ(server.Requests().size(), 1u);

  EXPECT_EQ(BytesAsString(FetchPage(client, server.Url("/from"), 1, "x=1", nullptr, nullptr,
                                    nullptr, &responseHeaders)),
            "arrived");
  EXPECT_EQ(TextLeft(responseHeaders, 17), "HTTP/1.1 200 OK\r\n");
  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1].substr(0, 22), "POST /from HTTP/1.1\r\nH");
  // A POST answered with 302 goes on as a GET without a body.
  EXPECT_EQ(requests[2].substr(0, 20), "GET /to HTTP/1.1\r\nHo");
  EXPECT_EQ(requests[2].find("Content-Length"), std::string::npos);
  EXPECT_EQ(requests[2].substr(requests[2].size() - 4), "\r\n\r\n");
}

TEST_F(FetchOverCurlTest, RedirectsLeaveOnlyForHttpAndNeverCarryCookiesAcross) {
  TestHttpServer other;
  ASSERT_TRUE(other.started());
  other.Script({{.repeat = true, .body = "other"}});
  server.Script({{.path = "/away", .status = 302, .headers = {{"Location", other.Url("/x")}}},
                 {.path = "/file",
                  .status = 302,
                  .headers = {{"Location", "file:///etc/passwd"}},
                  .body = "not followed"},
                 {.path = "/ftp",
                  .status = 301,
                  .headers = {{"Location", "ftp://127.0.0.1/"}},
                  .body = "not followed"}});
  Text cookies = "secret=1";
  Text headers = "Authorization: Basic eDp5";
  EXPECT_EQ(
      BytesAsString(FetchPage(client, server.Url("/away"), 0, {}, &cookies, nullptr, &headers)),
      "other");
  const std::vector<std::string> elsewhere = other.Requests();
  ASSERT_EQ(elsewhere.size(), 1u);
  EXPECT_EQ(elsewhere[0].find("secret"), std::string::npos);
  EXPECT_EQ(elsewhere[0].find("Authorization"), std::string::npos);
  EXPECT_NE(elsewhere[0].find("\r\nReferer: "), std::string::npos);

  EXPECT_EQ(BytesAsString(FetchPage(client, server.Url("/file"))), "not followed");
  EXPECT_EQ(BytesAsString(FetchPage(client, server.Url("/ftp"))), "not followed");
  EXPECT_EQ(server.Requests().size(), 3u);
}

TEST_F(FetchOverCurlTest, PlainUrlGoesThroughTheProxy) {
  TestHttpServer proxy({.proxy = true});
  ASSERT_TRUE(proxy.started());
  server.Script({{.body = "through"}});
  const std::string url = server.Url("/via?x=1");
  const Bytes page = FetchPage(client, url, 0, {}, nullptr, nullptr, nullptr, nullptr, false,
                               nullptr, "127.0.0.1:" + std::to_string(proxy.port()));
  EXPECT_EQ(BytesAsString(page), "through");
  const std::vector<std::string> viaProxy = proxy.Requests();
  ASSERT_EQ(viaProxy.size(), 1u);
  EXPECT_EQ(viaProxy[0], "GET " + url + " HTTP/1.1\r\nHost: " + Host(server) +
                             "\r\nUser-Agent: " + kAgent + "\r\n" + DefaultLines(url) + "\r\n");
  ASSERT_EQ(server.Requests().size(), 1u);
}

TEST_F(FetchOverCurlTest, ProxyForPlainUrlsIsNotUsedAfterARedirectToHttps) {
  TestHttpServer proxy({.proxy = true});
  ASSERT_TRUE(proxy.started());
  // Plays the https server: it records the TLS greeting, then gives up on the connection.
  TestHttpServer secure;
  ASSERT_TRUE(secure.started());
  const std::string secureUrl = "https://127.0.0.1:" + std::to_string(secure.port()) + "/";
  server.Script({{.status = 302, .headers = {{"Location", secureUrl}}}});
  (void)FetchPage(client, server.Url("/start"), 0, {}, nullptr, nullptr, nullptr, nullptr, false,
                  nullptr, "127.0.0.1:" + std::to_string(proxy.port()));
  ASSERT_EQ(proxy.Requests().size(), 1u);
  const std::vector<std::string> greetings = secure.Requests();
  ASSERT_EQ(greetings.size(), 1u);
  EXPECT_EQ(greetings[0][0], '\x16');  // a TLS handshake record, straight from the client
}

TEST_F(FetchOverCurlTest, SecureUrlTunnelsThroughTheProxy) {
  TestHttpServer proxy({.proxy = true});
  ASSERT_TRUE(proxy.started());
  proxy.Script({{.method = "CONNECT", .status = 403, .reason = "Forbidden"}});
  const std::string secureUrl = "https://127.0.0.1:" + std::to_string(server.port()) + "/s";
  EXPECT_TRUE(FetchPage(client, secureUrl, 0, {}, nullptr, nullptr, nullptr, nullptr, false,
                        nullptr, "127.0.0.1:" + std::to_string(proxy.port()))
                  .empty());
  const std::vector<std::string> viaProxy = proxy.Requests();
  ASSERT_EQ(viaProxy.size(), 1u);
  EXPECT_EQ(viaProxy[0].substr(0, viaProxy[0].find("\r\n")),
            "CONNECT " + Host(server) + " HTTP/1.1");
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(FetchOverCurlTest, HeaderBlockMustFitWithItsTerminatingZero) {
  // 60 bytes besides the padding: 4939 make a block of 4999 bytes, 4940 one of 5000.
  const std::string start = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nSet-Cookie: a=1;x\r\nX: ";
  server.Script({{.raw = start + std::string(4939, 'p') + "\r\n\r\nok"},
                 {.raw = start + std::string(4940, 'p') + "\r\n\r\nok"}});
  Text newCookies;
  Text responseHeaders;
  EXPECT_EQ(BytesAsString(FetchPage(client, server.Url("/"), 0, {}, nullptr, &newCookies, nullptr,
                                    &responseHeaders)),
            "ok");
  EXPECT_EQ(TextLength(responseHeaders), 4999);
  EXPECT_EQ(newCookies, "a=1");

  EXPECT_EQ(BytesAsString(FetchPage(client, server.Url("/"), 0, {}, nullptr, &newCookies, nullptr,
                                    &responseHeaders)),
            "ok");
  EXPECT_EQ(responseHeaders, BlankText(5000));
  EXPECT_EQ(newCookies, "");
}

TEST_F(FetchOverCurlTest, WaitingCallsBackWhileTheReplyIsSlow) {
  int calls = 0;
  CurlHttpClient waiting([&calls] { ++calls; });
  server.Script({{.body = "late", .delayMs = 1000}});
  EXPECT_EQ(BytesAsString(FetchPage(waiting, server.Url("/"))), "late");
  // About 20 calls; the bound leaves room for a busy machine.
  EXPECT_GE(calls, 5);
}

TEST_F(FetchOverCurlTest, ADroppedConnectionGivesWhatArrived) {
  server.Script({{.body = "0123456789", .dropAfterBytes = 43}});
  Text responseHeaders;
  const Bytes page =
      FetchPage(client, server.Url("/"), 0, {}, nullptr, nullptr, nullptr, &responseHeaders);
  EXPECT_EQ(BytesAsString(page), "0123");
  EXPECT_EQ(responseHeaders, "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n");
}

TEST(FetchFailureTest, UnreachableServersGiveNothing) {
  CurlHttpClient client;
  const std::string closedPort =
      "http://127.0.0.1:" + std::to_string(testing::FreeLoopbackPort()) + "/";
  for (const std::string& url : {closedPort, std::string("http://no-such-host.invalid/")}) {
    SCOPED_TRACE(url);
    Text headers;
    Text responseHeaders;
    Text cookies = "a = 1";
    EXPECT_TRUE(
        FetchPage(client, url, 0, {}, &cookies, nullptr, &headers, &responseHeaders).empty());
    // The request was made, so the headers were completed; no reply means no header block.
    EXPECT_EQ(headers, "Accept: */*\r\nReferer: " + url +
                           "\r\nAccept-Language: zh-cn\r\n"
                           "Content-Type: application/x-www-form-urlencoded\r\nCookie: a = 1");
    EXPECT_EQ(responseHeaders, BlankText(5000));
    EXPECT_EQ(cookies, "a=1");
  }
}

// The certificate names the host rightly but is signed by nobody the system trusts.
TEST(FetchFailureTest, UntrustedCertificateGivesNothing) {
  const std::string folder = testing::MakeTempFolder("quorvane-fetch-tls");
  std::ofstream(folder + "/page.html") << "secret";
  testing::ChildProcess openssl = testing::ChildProcess::Start(
      {"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
       "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", folder + "/key.pem",
       "-out", folder + "/cert.pem"},
      folder + "/openssl.log");
  ASSERT_EQ(openssl.Wait(std::chrono::seconds(30)), 0);
  const int tlsPort = testing::FreeLoopbackPort();
  testing::NginxFixture nginx(folder, {"listen 127.0.0.1:" + std::to_string(tlsPort) + " ssl;",
                                       "ssl_certificate " + folder + "/cert.pem;",
                                       "ssl_certificate_key " + folder + "/key.pem;"});
  ASSERT_TRUE(nginx.Ready()) << nginx.ErrorLog();
  CurlHttpClient client;
  Text responseHeaders;
  EXPECT_TRUE(FetchPage(client, "https://127.0.0.1:" + std::to_string(tlsPort) + "/page.html", 0,
                        {}, nullptr, nullptr, nullptr, &responseHeaders)
                  .empty());
  EXPECT_EQ(responseHeaders, BlankText(5000));
  EXPECT_TRUE(nginx.AccessLogLines().empty());
  std::filesystem::remove_all(folder);
}

TEST(FetchFailureTest, UnusableUrlsLeaveEveryParameter) {
  CurlHttpClient client;
  for (const std::string& url :
       {std::string("http://host.example?q=1"), std::string("http://bad host/"),
        std::string("http://127.0.0.1:99999/"), std::string("http:///nothing")}) {
    SCOPED_TRACE(url);
    Text headers = "X: 1";
    Text responseHeaders = "kept";
    EXPECT_TRUE(
        FetchPage(client, url, 0, {}, nullptr, nullptr, &headers, &responseHeaders).empty());
    EXPECT_EQ(headers, "X: 1");
    EXPECT_EQ(responseHeaders, "kept");
  }
}

}  // namespace
}  // namespace quorvane
