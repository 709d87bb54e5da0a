#pragma once

// The scriptable HTTP test server (http_test_server.py) on a free loopback port, for tests:
//
//   TestHttpServer server;                       // started; stopped by its pid when it goes
//   ASSERT_TRUE(server.started());
//   server.Script({{.status = 200, .headers = {{"Set-Cookie", "a=1"}}, .body = "hi"}});
//   ... a request to server.Url("/x") ...
//   std::vector<std::string> requests = server.Requests();  // the exact bytes, in order
//
// Each request takes the first scripted reply whose method and path fit and uses it up (unless
// `repeat`); one that none fits gets a 404. Script() replaces the list. With `proxy` set, the
// server forwards absolute-form requests for 127.0.0.1 to that server, as an HTTP proxy does.
// It ends by itself after `timeLimitSeconds` whatever happens to the test.

#include <string>
#include <utility>
#include <vector>

#include "support/child_process.h"

namespace quorvane::testing {

class TestHttpServer {
 public:
  struct Reply {
    std::string method{};  // empty: any
    std::string path{};    // empty: any; the target as sent, query included
    bool repeat = false;
    int status = 200;
    std::string reason = "OK";
    std::vector<std::pair<std::string, std::string>> headers{};
    std::string body{};
    bool noLength = false;  // no Content-Length is added
    std::string raw{};      // when not empty: the exact reply bytes, instead of the above
    int delayMs = 0;
    int stallAfterBytes = -1;  // -1: no stall
    int stallMs = 0;
    int chunkSize = 0;  // 0: all at once
    int chunkDelayMs = 0;
    int dropAfterBytes = -1;  // -1: no drop; 0: close without a reply
    bool close = false;
  };

  struct Options {
    bool proxy = false;
    int timeLimitSeconds = 120;
  };

  explicit TestHttpServer(const Options& options);
  TestHttpServer() : TestHttpServer(Options{}) {}
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  [[nodiscard]] bool started() const { return started_; }
  [[nodiscard]] int port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by `path`.
  [[nodiscard]] std::string Url(const std::string& path = "/") const;

  void Script(const std::vector<Reply>& replies);
  // Every request received so far, byte for byte, in arrival order.
  [[nodiscard]] std::vector<std::string> Requests() const;

 private:
  std::string folder_;
  int port_ = -1;
  int generation_ = 0;
  ChildProcess process_;
  bool started_ = false;
};

}  // namespace quorvane::testing
