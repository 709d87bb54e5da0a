#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvane {

struct FetchOptions {
  std::optional<std::string> post;     // a body: sent with POST
  std::vector<std::string> headers;    // header lines, "Name: value"
  std::optional<std::string> cookies;  // given, even empty: merged with the reply's
  bool noRedirect = false;
  std::string proxy;
  bool include = false;  // the raw response header block before the body
  std::string url;
};

// `quorvane-cli fetch`: one page fetch; the body to stdout as bytes, the merged cookies to
// stderr. 0 when the body is not empty.
[[nodiscard]] int RunFetch(const FetchOptions& options);

}  // namespace quorvane
