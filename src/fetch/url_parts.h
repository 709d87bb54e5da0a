#pragma once

#include <optional>

#include "text/text.h"

namespace quorvane {

// Splits a URL as plain text: nothing is decoded or validated, and a URL without a scheme is
// read as plain HTTP.

// The host, lower case. `mainDomainOnly` keeps the last two labels. `levels`, when given at all,
// switches to counting labels from the end instead (n keeps n + 2 labels, n + 1 with
// `mainDomainOnly`); a given 0 therefore differs from no value.
[[nodiscard]] Text UrlHost(const Text& url, bool mainDomainOnly = false, bool keepPort = false,
                           std::optional<int> levels = std::nullopt);
// The written port, else 443 for https and 80 for everything else.
[[nodiscard]] int UrlPort(const Text& url);
// The path with query and fragment in the input's letter case; "/" when there is none.
[[nodiscard]] Text UrlPath(const Text& url);

}  // namespace quorvane
