#pragma once

#include <string>

#include "text/text.h"

namespace quorvane {

// One HTTP request object, reused for every range of every transfer. No call ever fails toward
// the caller: a failed call does nothing, a property that cannot be read reads as 0 or as the
// empty text, and an absent body reads as no bytes.
class HttpRequest {
 public:
  static constexpr int kReadyStateComplete = 4;

  virtual ~HttpRequest() = default;

  // Prepares a new request; headers set for an earlier request are forgotten.
  virtual void Open(const Text& method, const Text& url, bool asynchronous) = 0;
  virtual void SetRequestHeader(const Text& name, const Text& value) = 0;
  virtual void Send() = 0;
  // 4 once the whole reply (status, headers and body) has arrived.
  [[nodiscard]] virtual int ReadyState() = 0;
  // Blocks at most `milliseconds`, returning as soon as the reply is complete.
  virtual void WaitForResponse(int milliseconds) = 0;
  // Stops the request at once; the connection may be dropped.
  virtual void Abort() = 0;
  [[nodiscard]] virtual int Status() = 0;
  [[nodiscard]] virtual Text StatusText() = 0;
  [[nodiscard]] virtual Bytes ResponseBody() = 0;
  // The empty text when the reply carries no such header.
  [[nodiscard]] virtual Text GetResponseHeader(const Text& name) = 0;
};

}  // namespace quorvane
