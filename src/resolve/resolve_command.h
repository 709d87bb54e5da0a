#pragma once

#include "fetch/http_client.h"
#include "shell/resolved_file.h"
#include "shell/window_operations.h"
#include "text/text.h"

namespace quorvane {

// The resolve button: sends the share link exactly as typed to the resolving service, keeps
// the reply and its fields in `resolved` (all five replaced, also by empty texts when the
// request fails), appends the four labelled lines to the result box and puts the name, made
// safe as a single file name, into the file name box.
void ResolveCommand(HttpClient& client, WindowOperations& window, ResolvedFile& resolved,
                    const Text& resolverBase);

}  // namespace quorvane
