#pragma once

#include "clipboard/clipboard.h"

namespace quorvane {

// The desktop clipboard's text: UTF-8 on the desktop, code page 936 inside. A read waits at
// most half a second for the clipboard's owner to answer.
class WxClipboard : public Clipboard {
 public:
  Text GetText() override;
  bool SetText(const Text& text) override;

 private:
  // A read waits in a nested event loop; a read begun inside it finds nothing.
  bool reading_ = false;
};

}  // namespace quorvane
