#pragma once

namespace quorvane {

// Called from inside a long handler (a resolve, a download): paints the windows and handles
// their size changes, while clicks and keys that arrive meanwhile are dropped, not saved for
// later, so that nothing the user did during the wait fires once it is over. Timer ticks
// wait, as they would while the handler computes.
void KeepPainted();

}  // namespace quorvane
