#pragma once

#include "shell/resolved_file.h"
#include "text/text.h"

namespace quorvane {

// Cuts name, size, download address and MD5 out of the resolving service's reply by their
// fixed markers, each searched from the reply's beginning, and decodes the name's escapes.
// The reply itself becomes `responseText`. A field whose markers are missing is empty.
[[nodiscard]] ResolvedFile ReadResolveReply(const Text& reply);

}  // namespace quorvane
