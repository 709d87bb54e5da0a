#pragma once

#include "text/text.h"

namespace quorvane {

// What a request asks of the client besides its verb and path. Whatever the options, a reply
// always comes from the server (never from a cache), TLS is verified for a secure request,
// redirects from HTTP to HTTPS are followed without asking, and only http and https are spoken.
struct RequestFlags {
  bool secure = false;      // https to the host and port given to Connect
  bool noCookies = false;   // the caller keeps its own cookies: no stored cookie is sent or kept
  bool noRedirect = false;  // the first reply is the final one, even a redirect
};

// One HTTP exchange at a time, in the order of its members: Open, Connect, OpenRequest, Send,
// ReadBody until it gives nothing, QueryRawHeaders, then the three closes, newest first.
// Nothing is thrown; a step that cannot be taken says so by its result, and a failed send shows
// only as a reply without body and headers. One instance may keep a cookie store for all the
// requests made through it.
class HttpClient {
 public:
  virtual ~HttpClient() = default;

  // An empty `proxy` means a direct connection; "http=" in front of the proxy address means the
  // proxy serves plain-HTTP requests only.
  [[nodiscard]] virtual bool Open(const Text& agent, const Text& proxy) = 0;
  [[nodiscard]] virtual bool Connect(const Text& host, int port) = 0;
  // `path` holds the query too; the request speaks HTTP/1.1.
  [[nodiscard]] virtual bool OpenRequest(const Text& verb, const Text& path,
                                         const RequestFlags& flags) = 0;
  // `headers`: lines joined by "\r\n", none after the last; sent as they are.
  virtual void Send(const Text& headers, const Bytes& body) = 0;
  // Up to `maxCount` further bytes of the reply body; none at its end.
  [[nodiscard]] virtual Bytes ReadBody(int maxCount) = 0;
  // Puts the final reply's status line and header lines, each ended by "\r\n", into `block`
  // when they and a terminating zero fit into `bufferSize` bytes; otherwise `block` stays.
  virtual void QueryRawHeaders(Text& block, int bufferSize) = 0;
  virtual void CloseRequest() = 0;
  virtual void CloseConnection() = 0;
  virtual void Close() = 0;
};

}  // namespace quorvane
