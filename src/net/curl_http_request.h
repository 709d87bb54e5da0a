#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "download/http_request.h"
#include "text/text.h"

namespace quorvane {

// The downloader's request object over libcurl's multi interface. One easy handle lives as long
// as the object and goes through one multi handle, so every range of a transfer reuses the same
// kept-alive connection. Only GET over http and https is spoken (redirects included), TLS is
// verified, no proxy is used, and exactly the request headers set are sent, plus Host. Every
// request is asynchronous: Send only starts it.
//
// A transfer that fails (no connection, a dropped connection, a broken reply, a body far larger
// than the range asked for) completes with status 0 and no body, so the caller learns at once
// instead of waiting out its time-out. Ready states: 0 idle (also after Abort), 1 opened or in
// progress, 4 complete.
class CurlHttpRequest final : public HttpRequest {
 public:
  // `whileWaiting`, when set, is called about every 50 ms of waiting inside WaitForResponse,
  // so that a window stays painted during a long transfer.
  explicit CurlHttpRequest(std::function<void()> whileWaiting = {});
  CurlHttpRequest(const CurlHttpRequest&) = delete;
  CurlHttpRequest& operator=(const CurlHttpRequest&) = delete;
  ~CurlHttpRequest() override;

  void Open(const Text& method, const Text& url, bool asynchronous) override;
  void SetRequestHeader(const Text& name, const Text& value) override;
  void Send() override;
  [[nodiscard]] int ReadyState() override;
  void WaitForResponse(int milliseconds) override;
  void Abort() override;
  [[nodiscard]] int Status() override;
  [[nodiscard]] Text StatusText() override;
  [[nodiscard]] Bytes ResponseBody() override;
  [[nodiscard]] Text GetResponseHeader(const Text& name) override;

  // How far past the range asked for a body may grow before the transfer counts as failed:
  // room for an error page, while memory stays bounded whatever the server sends.
  static constexpr std::int64_t kBodySlack = 64 * 1024;

 private:
  struct Transfer;
  std::unique_ptr<Transfer> transfer_;
};

}  // namespace quorvane
