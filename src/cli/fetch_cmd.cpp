#include "cli/fetch_cmd.h"

#include <cstdio>

#include "cli/exit_codes.h"
#include "cli/terminal_text.h"
#include "fetch/fetch_page.h"
#include "net/curl_http_client.h"
#include "text/code_page.h"

namespace quorvane {

namespace {

Text JoinHeaderLines(const std::vector<std::string>& lines) {
  Text joined;
  for (const std::string& line : lines) {
    if (!joined.empty()) {
      joined += "\r\n";
    }
    joined += Cp936FromUtf8(line);
  }
  return joined;
}

}  // namespace

int RunFetch(const FetchOptions& options) {
  CurlHttpClient client;
  const int method = options.post ? 1 : 0;
  const Text postText = options.post ? Cp936FromUtf8(*options.post) : Text();
  Text cookies = options.cookies ? Cp936FromUtf8(*options.cookies) : Text();
  Text newCookies;
  Text headers = JoinHeaderLines(options.headers);
  Text responseHeaders;

  const Bytes body =
      FetchPage(client, Cp936FromUtf8(options.url), method, postText,
                options.cookies ? &cookies : nullptr, &newCookies, &headers, &responseHeaders,
                options.noRedirect, nullptr, Cp936FromUtf8(options.proxy));

  if (options.include) {
    std::fwrite(responseHeaders.data(), 1, responseHeaders.size(), stdout);
  }
  WriteBytes(stdout, body);
  std::fflush(stdout);
  if (options.cookies) {
    PrintLine(stderr, cookies);
  }
  return body.empty() ? kExitFailure : kExitSuccess;
}

}  // namespace quorvane
