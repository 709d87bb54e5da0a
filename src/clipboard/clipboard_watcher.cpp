#include "clipboard/clipboard_watcher.h"

#include "shell/control.h"

namespace quorvane {

namespace {

// The first label of each share host and the service's domain label, without the top-level
// domain, so that a link on either host is recognised.
constexpr const char* kFragmentA = "pan.baidu";
constexpr const char* kFragmentB = "yun.baidu";

bool HoldsFragment(const Text& text, const char* fragment) {
  return FindText(text, fragment, 0, false) != -1;
}

}  // namespace

ClipboardWatcher::ClipboardWatcher(Clipboard& clipboard, WindowOperations& window)
    : clipboard_(clipboard), window_(window) {}

void ClipboardWatcher::OnTick() {
  if (running_) {
    return;
  }
  running_ = true;
  Look();
  running_ = false;
}

void ClipboardWatcher::Look() {
  // The clipboard is shared with every other program, so each step reads it afresh.
  if (!HoldsFragment(clipboard_.GetText(), kFragmentA) &&
      !HoldsFragment(clipboard_.GetText(), kFragmentB)) {
    return;
  }
  window_.ShowWindow();
  window_.SetText(Control::编辑框_地址, clipboard_.GetText());
}

}  // namespace quorvane
