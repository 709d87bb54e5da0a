#pragma once

#include <functional>
#include <memory>

#include "fetch/http_client.h"
#include "text/text.h"

namespace quorvane {

// The page fetch's HTTP client over libcurl. Each request runs to its end inside Send, which
// calls `whileWaiting` (when set) about every 50 ms so that a window stays painted. Requests
// that let the client handle cookies share one in-memory cookie store held by this instance.
// Only http and https are spoken, for redirects too. Use it from one thread, and let
// `whileWaiting` start no request of its own on the same client.
class CurlHttpClient final : public HttpClient {
 public:
  explicit CurlHttpClient(std::function<void()> whileWaiting = {});
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  [[nodiscard]] bool Open(const Text& agent, const Text& proxy) override;
  [[nodiscard]] bool Connect(const Text& host, int port) override;
  [[nodiscard]] bool OpenRequest(const Text& verb, const Text& path,
                                 const RequestFlags& flags) override;
  void Send(const Text& headers, const Bytes& body) override;
  [[nodiscard]] Bytes ReadBody(int maxCount) override;
  void QueryRawHeaders(Text& block, int bufferSize) override;
  void CloseRequest() override;
  void CloseConnection() override;
  void Close() override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace quorvane
