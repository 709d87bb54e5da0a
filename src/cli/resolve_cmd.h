#pragma once

#include <string>

#include "shell/resolved_file.h"

namespace quorvane {

struct ResolveOptions {
  std::string resolverBase;  // UTF-8, as given
  std::string link;
};

// Sends the share link to the resolving service as the resolve button does and prints the
// four labelled lines. False, with the reason on stderr, when no download address was found.
[[nodiscard]] bool ResolveAndPrint(const ResolveOptions& options, ResolvedFile& resolved);

// `quorvane-cli resolve`: 0 when a download address was found, 1 otherwise.
[[nodiscard]] int RunResolve(const ResolveOptions& options);

}  // namespace quorvane
