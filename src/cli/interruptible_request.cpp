#include "cli/interruptible_request.h"

#include <algorithm>
#include <utility>

namespace quorvane {

InterruptibleRequest::InterruptibleRequest(std::shared_ptr<HttpRequest> inner,
                                           std::function<bool()> interrupted,
                                           std::function<void()> giveUp,
                                           std::chrono::milliseconds grace)
    : inner_(std::move(inner)),
      interrupted_(std::move(interrupted)),
      giveUp_(std::move(giveUp)),
      grace_(grace) {}

void InterruptibleRequest::Open(const Text& method, const Text& url, bool asynchronous) {
  inner_->Open(method, url, asynchronous);
}

void InterruptibleRequest::SetRequestHeader(const Text& name, const Text& value) {
  inner_->SetRequestHeader(name, value);
}

void InterruptibleRequest::Send() {
  inner_->Send();
}

int InterruptibleRequest::ReadyState() {
  return inner_->ReadyState();
}

void InterruptibleRequest::WaitForResponse(int milliseconds) {
  if (!interrupted_()) {
    inner_->WaitForResponse(milliseconds);
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  if (!interruptSeen_) {
    interruptSeen_ = now;
  }
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(*interruptSeen_ + grace_ - now);
  if (left.count() <= 0) {
    giveUp_();
    return;
  }
  inner_->WaitForResponse(std::min(milliseconds, static_cast<int>(left.count())));
}

void InterruptibleRequest::Abort() {
  inner_->Abort();
}

int InterruptibleRequest::Status() {
  return inner_->Status();
}

Text InterruptibleRequest::StatusText() {
  return inner_->StatusText();
}

Bytes InterruptibleRequest::ResponseBody() {
  return inner_->ResponseBody();
}

Text InterruptibleRequest::GetResponseHeader(const Text& name) {
  return inner_->GetResponseHeader(name);
}

}  // namespace quorvane
