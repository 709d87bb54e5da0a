#pragma once

#include "fetch/http_client.h"
#include "text/text.h"

namespace quorvane {

// One HTTP or HTTPS request through `client`; returns the reply body, empty when nothing could
// be read. `method` 1 sends POST, any other value GET; any value but 0 sends a body, taken from
// `postBytes`, or from `postText` when `postBytes` is empty (`postBytes` then receives it).
// The default request lines are appended to `headers`, which the caller sees completed.
// A null pointer leaves that parameter out: it is worked on as a private temporary. `cookies`
// given at all, even empty, turns the client's own cookie handling off and comes back merged
// with the reply's cookies; `newCookies` receives those as "name=value; name=value".
// `responseHeaders` receives the raw header block, or 5000 blanks when it does not fit.
// `proxy` is a proxy address; empty means a direct connection.
[[nodiscard]] Bytes FetchPage(HttpClient& client, const Text& url, int method = 0,
                              const Text& postText = {}, Text* cookies = nullptr,
                              Text* newCookies = nullptr, Text* headers = nullptr,
                              Text* responseHeaders = nullptr, bool noRedirect = false,
                              Bytes* postBytes = nullptr, const Text& proxy = {});

// The text after the first ":" of a header line, trimmed; empty when there is no ":".
[[nodiscard]] Text HeaderValue(const Text& line);

}  // namespace quorvane
