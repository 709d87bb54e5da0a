#pragma once

#include "clipboard/clipboard.h"
#include "shell/resolved_file.h"
#include "shell/window_operations.h"

namespace quorvane {

// Puts the last resolve's download address on the clipboard and shows it; warns when nothing
// has been resolved.
void CopyAddressCommand(Clipboard& clipboard, WindowOperations& window,
                        const ResolvedFile& resolved);

// Puts the whole result box, followed by the product's footer, on the clipboard.
void CopyAllCommand(Clipboard& clipboard, WindowOperations& window);

}  // namespace quorvane
