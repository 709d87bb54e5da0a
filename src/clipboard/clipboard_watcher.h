#pragma once

#include "clipboard/clipboard.h"
#include "shell/window_operations.h"

namespace quorvane {

// Once a second, moves a share link found on the clipboard into the share-link box and brings
// the window up. It remembers nothing between ticks.
class ClipboardWatcher {
 public:
  ClipboardWatcher(Clipboard& clipboard, WindowOperations& window);

  // The handler of the watcher timer's tick.
  void OnTick();

 private:
  void Look();

  Clipboard& clipboard_;
  WindowOperations& window_;
  // A desktop clipboard read may run a nested event loop in which the next tick fires.
  bool running_ = false;
};

}  // namespace quorvane
