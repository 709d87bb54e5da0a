#pragma once

#include "text/text.h"

namespace quorvane {

// The resolving service's base address as the build was configured, ending in "/baidu/?url=";
// the share link is appended to it as typed.
[[nodiscard]] Text DefaultResolverBase();

}  // namespace quorvane
