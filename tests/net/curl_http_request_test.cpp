#include "net/curl_http_request.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/child_process.h"
#include "support/nginx_fixture.h"
#include "support/test_http_server.h"

namespace quorvane {
namespace {

using std::chrono::steady_clock;
using testing::TestHttpServer;

std::string AsString(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// The request the transfer loop makes, with `extra` headers after its own.
void SendRangeRequest(CurlHttpRequest& request, const std::string& url, const Text& referrer,
                      const Text& range, const std::vector<std::pair<Text, Text>>& extra = {}) {
  request.Open("GET", url, true);
  request.SetRequestHeader("Referer", referrer);
  request.SetRequestHeader("Accept", "*/*");
  request.SetRequestHeader("User-Agent", "Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)");
  request.SetRequestHeader("Range", range);
  request.SetRequestHeader("Content-Type", "application/octet-stream");
  request.SetRequestHeader("Pragma", "no-cache");
  request.SetRequestHeader("Cache-Control", "no-cache");
  for (const auto& [name, value] : extra) request.SetRequestHeader(name, value);
  request.Send();
}

// Waits as the transfer loop does, in steps far longer than any reply here takes, so that a
// wait that does not return on completion shows as a slow test rather than passing.
steady_clock::duration WaitUntilComplete(CurlHttpRequest& request) {
  const auto start = steady_clock::now();
  while (request.ReadyState() != HttpRequest::kReadyStateComplete &&
         steady_clock::now() - start < std::chrono::seconds(20)) {
    request.WaitForResponse(10000);
  }
  return steady_clock::now() - start;
}

class CurlHttpRequestTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.started()); }

  TestHttpServer server;
};

TEST_F(CurlHttpRequestTest, SendsExactlyTheHeadersSetAndReadsTheReply) {
  server.Script(
      {{.status = 206,
        .reason = "Partial Content",
        .headers = {{"Content-Range", "bytes 0-4/10"}, {"X-Twice", "a"}, {"x-twice", "b"}},
        .body = std::string("ab\0cd", 5)}});
  CurlHttpRequest request;
  // An empty value is still sent; a value that would add a line to the request is not.
  SendRangeRequest(request, server.Url("/file.bin"), "", "bytes=0-4",
                   {{"X-Injected", "1\r\nEvil: 1"}});

  EXPECT_LT(WaitUntilComplete(request), std::chrono::seconds(5));
  EXPECT_EQ(request.Status(), 206);
  EXPECT_EQ(request.StatusText(), "Partial Content");
  EXPECT_EQ(AsString(request.ResponseBody()), std::string("ab\0cd", 5));
  EXPECT_EQ(request.GetResponseHeader("content-range"), "bytes 0-4/10");
  EXPECT_EQ(request.GetResponseHeader("X-Twice"), "a, b");
  EXPECT_EQ(request.GetResponseHeader("Content-Encoding"), "");
  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0],
            "GET /file.bin HTTP/1.1\r\n"
            "Host: 127.0.0.1:" +
                std::to_string(server.port()) +
                "\r\n"
                "Referer:\r\n"
                "Accept: */*\r\n"
                "User-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n"
                "Range: bytes=0-4\r\n"
                "Content-Type: application/octet-stream\r\n"
                "Pragma: no-cache\r\n"
                "Cache-Control: no-cache\r\n"
                "\r\n");
}

TEST_F(CurlHttpRequestTest, FollowsRedirectsAndReportsTheFinalReply) {
  server.Script({{.path = "/moved",
                  .status = 302,
                  .reason = "Found",
                  .headers = {{"Location", "/file.bin"}, {"Content-Range", "bytes 9-9/9"}}},
                 {.path = "/file.bin", .status = 404, .reason = "Not Found", .body = "gone"}});
  CurlHttpRequest request;
  SendRangeRequest(request, server.Url("/moved"), "http://example.test/", "bytes=0-9");
  WaitUntilComplete(request);

  EXPECT_EQ(request.Status(), 404);
  EXPECT_EQ(request.StatusText(), "Not Found");
  EXPECT_EQ(AsString(request.ResponseBody()), "gone");
  EXPECT_EQ(request.GetResponseHeader("Content-Range"), "");
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_NE(server.Requests()[1].find("Referer: http://example.test/\r\n"), std::string::npos);
}

// A transfer that fails ends at once as complete with status 0 and nothing else, so that the
// caller does not wait out its time-out and never takes part of a reply for the whole.
TEST_F(CurlHttpRequestTest, FailedTransfersCompleteWithStatusZero) {
  const std::string ranged = "bytes=0-999";
  struct Case {
    std::string name;
    std::string url;
    std::vector<TestHttpServer::Reply> replies;
  };
  const std::vector<Case> cases = {
      {"nothing listens",
       "http://127.0.0.1:" + std::to_string(testing::FreeLoopbackPort()) + "/f",
       {}},
      {"connection dropped in the body",
       server.Url("/f"),
       {{.status = 206,
         .headers = {{"Content-Range", "bytes 0-999/1000"}},
         .body = std::string(1000, 'x'),
         .dropAfterBytes = 500}}},
      {"connection closed without a reply", server.Url("/f"), {{.dropAfterBytes = 0}}},
      {"not http", "ftp://127.0.0.1:" + std::to_string(server.port()) + "/f", {}},
      {"redirect to another scheme",
       server.Url("/f"),
       {{.status = 302, .headers = {{"Location", "file:///etc/passwd"}}}}},
  };
  CurlHttpRequest request;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server.Script(c.replies);
    SendRangeRequest(request, c.url, "", ranged);
    EXPECT_LT(WaitUntilComplete(request), std::chrono::seconds(5));
    EXPECT_EQ(request.ReadyState(), HttpRequest::kReadyStateComplete);
    EXPECT_EQ(request.Status(), 0);
    EXPECT_EQ(request.StatusText(), "");
    EXPECT_TRUE(request.ResponseBody().empty());
    EXPECT_EQ(request.GetResponseHeader("Content-Range"), "");
  }
  // The same object still serves a good request afterwards.
  server.Script({{.body = "fine"}});
  SendRangeRequest(request, server.Url("/f"), "", ranged);
  WaitUntilComplete(request);
  EXPECT_EQ(request.Status(), 200);
  EXPECT_EQ(AsString(request.ResponseBody()), "fine");
}

// Memory stays bounded by the range asked for; the status still reaches the caller, and a 206
// with no body cannot pass for the range.
TEST_F(CurlHttpRequestTest, BodyFarBeyondTheRangeIsDroppedButTheStatusKept) {
  const std::string bigBody(1000 + CurlHttpRequest::kBodySlack + 1, 'x');
  struct Case {
    int status;
    std::string reason;
  };
  CurlHttpRequest request;
  for (const Case& c : {Case{404, "Not Found"}, Case{206, "Partial Content"}}) {
    SCOPED_TRACE(c.status);
    server.Script({{.status = c.status, .reason = c.reason, .body = bigBody}});
    SendRangeRequest(request, server.Url("/f"), "", "bytes=0-999");
    EXPECT_LT(WaitUntilComplete(request), std::chrono::seconds(5));
    EXPECT_EQ(request.ReadyState(), HttpRequest::kReadyStateComplete);
    EXPECT_EQ(request.Status(), c.status);
    EXPECT_EQ(request.StatusText(), c.reason);
    EXPECT_TRUE(request.ResponseBody().empty());
  }
}

TEST_F(CurlHttpRequestTest, StalledReplyWaitsInBoundedStepsAndAbortsCleanly) {
  server.Script({{.status = 206,
                  .headers = {{"Content-Range", "bytes 0-9/10"}},
                  .body = "0123456789",
                  .stallAfterBytes = 60,
                  .stallMs = 20000},
                 {.status = 206,
                  .reason = "Partial Content",
                  .headers = {{"Content-Range", "bytes 0-9/10"}},
                  .body = "abcdefghij"}});
  int calls = 0;
  CurlHttpRequest request([&] { ++calls; });
  SendRangeRequest(request, server.Url("/f"), "", "bytes=0-9");

  const auto start = steady_clock::now();
  request.WaitForResponse(400);
  const auto waited = steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(400));
  EXPECT_LT(waited, std::chrono::seconds(3));
  // The window-keeping routine runs while the reply stalls.
  EXPECT_GE(calls, 3);
  EXPECT_NE(request.ReadyState(), HttpRequest::kReadyStateComplete);

  request.Abort();
  EXPECT_EQ(request.ReadyState(), 0);
  EXPECT_EQ(request.Status(), 0);
  EXPECT_TRUE(request.ResponseBody().empty());

  // Nothing of the stalled reply leaks into the next request.
  SendRangeRequest(request, server.Url("/f"), "", "bytes=0-9");
  WaitUntilComplete(request);
  EXPECT_EQ(request.Status(), 206);
  EXPECT_EQ(request.StatusText(), "Partial Content");
  EXPECT_EQ(AsString(request.ResponseBody()), "abcdefghij");
}

// The certificate names the host rightly but is signed by nobody the system trusts.
TEST(CurlHttpRequestTlsTest, RefusesACertificateThatIsNotTrusted) {
  const std::string folder = testing::MakeTempFolder("quorvane-tls");
  std::ofstream(folder + "/file.bin") << "secret";
  const int tlsPort = testing::FreeLoopbackPort();
  testing::ChildProcess openssl = testing::ChildProcess::Start(
      {"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
       "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", folder + "/key.pem",
       "-out", folder + "/cert.pem"},
      folder + "/openssl.log");
  ASSERT_EQ(openssl.Wait(std::chrono::seconds(30)), 0);
  testing::NginxFixture nginx(folder, {"listen 127.0.0.1:" + std::to_string(tlsPort) + " ssl;",
                                       "ssl_certificate " + folder + "/cert.pem;",
                                       "ssl_certificate_key " + folder + "/key.pem;"});
  ASSERT_TRUE(nginx.Ready()) << nginx.ErrorLog();
  const std::string url = "https://127.0.0.1:" + std::to_string(tlsPort) + "/file.bin";
  // The server does serve the file to a client that skips verification.
  testing::ChildProcess curl = testing::ChildProcess::Start(
      {"curl", "-sk", "--noproxy", "*", "-o", folder + "/fetched", url});
  ASSERT_EQ(curl.Wait(std::chrono::seconds(30)), 0);
  std::ostringstream fetched;
  fetched << std::ifstream(folder + "/fetched").rdbuf();
  ASSERT_EQ(fetched.str(), "secret");

  CurlHttpRequest request;
  SendRangeRequest(request, url, "", "bytes=0-5");
  WaitUntilComplete(request);
  EXPECT_EQ(request.ReadyState(), HttpRequest::kReadyStateComplete);
  EXPECT_EQ(request.Status(), 0);
  EXPECT_TRUE(request.ResponseBody().empty());
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quorvane
