#pragma once

#include "fetch/http_client.h"
#include "text/text.h"

namespace quorvane {

// A plain GET of `url` with the page fetch's defaults; the body up to its first zero byte, not
// converted. The empty text when the request fails.
[[nodiscard]] Text FetchText(HttpClient& client, const Text& url);

}  // namespace quorvane
