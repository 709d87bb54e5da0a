#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_process.h"
#include "support/test_http_server.h"

namespace quorvane::testing {
namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.rfind(prefix, 0) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(FetchCommand, PostsWithHeaderLinesAndCookiesAndWritesHeadersAndBody) {
  TestHttpServer server;
  ASSERT_TRUE(server.started());
  const std::string body("hello\0world", 11);
  server.Script({{.method = "POST",
                  .path = "/form?x=1",
                  .headers = {{"Set-Cookie", "b=2; path=/"}},
                  .body = body}});

  const CliResult result =
      RunCli({"fetch", "--post", "q=中", "--header", "X-One: 1", "--header", "X-Two: 2",
              "--cookies", "a=1", "--include", server.Url("/form?x=1")});

  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(StartsWith(result.out, "HTTP/1.1 200 OK\r\n")) << result.out;
  EXPECT_TRUE(Contains(result.out, "Set-Cookie: b=2; path=/\r\n")) << result.out;
  EXPECT_TRUE(EndsWith(result.out, "\r\n" + body)) << result.out;
  // The reply's cookie first, then the caller's.
  EXPECT_EQ(result.err, "b=2; a=1\n");
  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(StartsWith(requests[0], "POST /form?x=1 HTTP/1.1\r\n")) << requests[0];
  EXPECT_TRUE(Contains(requests[0], "\r\nX-One: 1\r\nX-Two: 2\r\n")) << requests[0];
  EXPECT_TRUE(Contains(requests[0], "\r\nCookie: a=1\r\n")) << requests[0];
  // The body in code page 936, as every text leaves the program.
  EXPECT_TRUE(EndsWith(requests[0], "\r\n\r\nq=\xD6\xD0")) << requests[0];
}

TEST(FetchCommand, GetWritesOnlyTheBody) {
  TestHttpServer server;
  ASSERT_TRUE(server.started());
  server.Script({{.method = "GET", .path = "/page", .body = "<p>page</p>"}});

  const CliResult result = RunCli({"fetch", server.Url("/page")});

  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "<p>page</p>");
  EXPECT_EQ(result.err, "");
}

TEST(FetchCommand, FollowsRedirectsUnlessTold) {
  for (bool noRedirect : {false, true}) {
    SCOPED_TRACE(noRedirect);
    TestHttpServer server;
    ASSERT_TRUE(server.started());
    server.Script({{.path = "/old",
                    .status = 302,
                    .reason = "Found",
                    .headers = {{"Location", server.Url("/new")}}},
                   {.path = "/new", .body = "moved here"}});
    std::vector<std::string> args = {"fetch", server.Url("/old")};
    if (noRedirect) {
      args.insert(args.begin() + 1, "--no-redirect");
    }

    const CliResult result = RunCli(args);

    // An empty body is a failure.
    EXPECT_EQ(result.exitCode, noRedirect ? 1 : 0);
    EXPECT_EQ(result.out, noRedirect ? "" : "moved here");
    EXPECT_EQ(server.Requests().size(), noRedirect ? 1u : 2u);
  }
}

TEST(FetchCommand, GoesThroughTheProxy) {
  TestHttpServer origin;
  TestHttpServer proxy({.proxy = true});
  ASSERT_TRUE(origin.started());
  ASSERT_TRUE(proxy.started());
  origin.Script({{.path = "/via", .body = "from the origin"}});

  const CliResult result =
      RunCli({"fetch", "--proxy", "127.0.0.1:" + std::to_string(proxy.port()), origin.Url("/via")});

  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "from the origin");
  const std::vector<std::string> requests = proxy.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(StartsWith(requests[0], "GET " + origin.Url("/via") + " HTTP/1.1\r\n"))
      << requests[0];
}

TEST(FetchCommand, NothingReadIsAFailure) {
  const CliResult result =
      RunCli({"fetch", "http://127.0.0.1:" + std::to_string(FreeLoopbackPort()) + "/"});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "");
}

}  // namespace
}  // namespace quorvane::testing
