#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "download/http_request.h"

namespace quorvane {

// Passes every call to the real request object, but watches for Ctrl-C while a reply is
// awaited: the range on its way is still given `grace` to arrive (and be kept), then `giveUp`
// is called, which aborts the transfer. Without this a stalled server would hold Ctrl-C back
// until the request's time-out.
class InterruptibleRequest : public HttpRequest {
 public:
  InterruptibleRequest(std::shared_ptr<HttpRequest> inner, std::function<bool()> interrupted,
                       std::function<void()> giveUp, std::chrono::milliseconds grace);

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

 private:
  std::shared_ptr<HttpRequest> inner_;
  std::function<bool()> interrupted_;
  std::function<void()> giveUp_;
  std::chrono::milliseconds grace_;
  std::optional<std::chrono::steady_clock::time_point> interruptSeen_;
};

}  // namespace quorvane
