#pragma once

#include "clipboard/clipboard.h"

namespace quorvane {

// The desktop clipboard's text through wx: UTF-8 on the desktop, code page 936 inside.
class WxClipboard : public Clipboard {
 public:
  Text GetText() override;
  bool SetText(const Text& text) override;

 private:
  // A GTK clipboard read waits in a nested event loop; a read begun inside it finds nothing.
  bool reading_ = false;
};

}  // namespace quorvane
