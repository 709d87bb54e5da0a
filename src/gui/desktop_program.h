#pragma once

#include "text/text.h"

namespace quorvane {

// The desktop program's life from start to exit, its share links resolved by the service
// at `resolverBase` (ending in "/baidu/?url="). Returns the process's exit code.
int RunDesktopProgram(int argc, char** argv, const Text& resolverBase);

}  // namespace quorvane
