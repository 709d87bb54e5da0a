#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "download/clock.h"
#include "download/http_request.h"
#include "text/text.h"

namespace quorvane::testing {

// Time stands still unless a wait moves it on.
class FakeClock : public Clock {
 public:
  std::int64_t NowMs() override { return now; }
  std::int64_t now = 5'000'000;
};

struct FakeReply {
  int status = 206;
  Text statusText;
  Text contentRange;
  Text contentEncoding;
  Bytes body;
  // Measured on the fake clock from the send; a reply that never arrives is only timed out.
  std::int64_t arrivesAfterMs = 0;
  bool arrives = true;
};

struct SentRequest {
  Text method;
  Text url;
  bool asynchronous = false;
  std::vector<std::pair<Text, Text>> headers;

  // The value of the header set last under `name`; empty when none was set.
  [[nodiscard]] Text Header(const Text& name) const;
};

// Answers each request with the next scripted reply; when the script has run out, the reply
// never arrives. A wait moves the fake clock on, up to the arrival of the reply.
class FakeRequest : public HttpRequest {
 public:
  explicit FakeRequest(FakeClock& clock) : clock_(clock) {}

  void Open(const Text& method, const Text& url, bool asynchronous) override;
  void SetRequestHeader(const Text& name, const Text& value) override;
  void Send() override;
  int ReadyState() override { return Arrived() ? kReadyStateComplete : 1; }
  void WaitForResponse(int milliseconds) override;
  void Abort() override;
  int Status() override { return Arrived() ? current_->status : 0; }
  Text StatusText() override { return Arrived() ? current_->statusText : Text(); }
  Bytes ResponseBody() override { return Arrived() ? current_->body : Bytes(); }
  Text GetResponseHeader(const Text& name) override;

  std::deque<FakeReply> replies;
  std::vector<SentRequest> sent;
  // Runs at the start of every wait, as a window event delivered during the wait would.
  std::function<void()> duringWait;
  int waitCount = 0;
  int abortCount = 0;

 private:
  [[nodiscard]] bool Arrived() const;

  FakeClock& clock_;
  std::optional<FakeReply> current_;  // empty when the script has run out
  std::int64_t sendTime_ = 0;
  bool aborted_ = false;
};

// The remote file of the tests: byte i is a fixed function of i, so any range of a file of any
// size can be made without holding the file.
[[nodiscard]] Bytes RemoteBytes(std::int64_t first, std::int64_t count);
// A 206 reply carrying bytes first..last of a remote file of `total` bytes.
[[nodiscard]] FakeReply RangeReply(std::int64_t first, std::int64_t last, std::int64_t total,
                                   std::int64_t arrivesAfterMs = 0);

}  // namespace quorvane::testing
