#pragma once

namespace quorvane {

// Ctrl-C asks a running download to stop; a second Ctrl-C ends the program at once.
void CatchInterrupt();
[[nodiscard]] bool InterruptRequested();

}  // namespace quorvane
