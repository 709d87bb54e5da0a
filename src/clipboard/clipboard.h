#pragma once

#include "text/text.h"

namespace quorvane {

// The desktop's plain-text clipboard. Texts cross this interface in code page 936; each call
// opens and closes the clipboard anew.
class Clipboard {
 public:
  virtual ~Clipboard() = default;

  // The empty text when the clipboard is held by another program or holds no text.
  [[nodiscard]] virtual Text GetText() = 0;
  // Replaces every format with the text; false when the clipboard could not be opened.
  virtual bool SetText(const Text& text) = 0;
};

}  // namespace quorvane
