#include "fake_request.h"

#include <algorithm>

namespace quorvane::testing {

Text SentRequest::Header(const Text& name) const {
  Text value;
  for (const auto& [headerName, headerValue] : headers) {
    if (headerName == name) {
      value = headerValue;
    }
  }
  return value;
}

void FakeRequest::Open(const Text& method, const Text& url, bool asynchronous) {
  sent.push_back({method, url, asynchronous, {}});
}

void FakeRequest::SetRequestHeader(const Text& name, const Text& value) {
  if (!sent.empty()) {
    sent.back().headers.emplace_back(name, value);
  }
}

void FakeRequest::Send() {
  current_.reset();
  if (!replies.empty()) {
    current_ = replies.front();
    replies.pop_front();
  }
  sendTime_ = clock_.now;
  aborted_ = false;
}

void FakeRequest::WaitForResponse(int milliseconds) {
  ++waitCount;
  if (duringWait) {
    duringWait();
  }
  if (Arrived()) {
    return;
  }
  std::int64_t step = milliseconds;
  if (current_ && current_->arrives && !aborted_) {
    step = std::min(step, sendTime_ + current_->arrivesAfterMs - clock_.now);
  }
  clock_.now += step;
}

void FakeRequest::Abort() {
  ++abortCount;
  aborted_ = true;
}

Text FakeRequest::GetResponseHeader(const Text& name) {
  if (!Arrived()) {
    return {};
  }
  if (name == "Content-Range") {
    return current_->contentRange;
  }
  if (name == "Content-Encoding") {
    return current_->contentEncoding;
  }
  return {};
}

bool FakeRequest::Arrived() const {
  return current_ && current_->arrives && !aborted_ &&
         clock_.now >= sendTime_ + current_->arrivesAfterMs;
}

Bytes RemoteBytes(std::int64_t first, std::int64_t count) {
  Bytes bytes(static_cast<std::size_t>(count));
  for (std::int64_t i = 0; i < count; ++i) {
    // A prime period, so that no chunk boundary lines up with the pattern.
    bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((first + i) % 251);
  }
  return bytes;
}

FakeReply RangeReply(std::int64_t first, std::int64_t last, std::int64_t total,
                     std::int64_t arrivesAfterMs) {
  FakeReply reply;
  reply.statusText = "Partial Content";
  reply.contentRange = Concat(Text("bytes "), NumberToText(first), "-", NumberToText(last), "/",
                              NumberToText(total));
  reply.body = RemoteBytes(first, last - first + 1);
  reply.arrivesAfterMs = arrivesAfterMs;
  return reply;
}

}  // namespace quorvane::testing
