#pragma once

#include <functional>
#include <vector>

#include "clipboard/clipboard.h"

namespace quorvane::testing {

// A clipboard in memory that counts its reads and keeps every text written to it.
class FakeClipboard : public Clipboard {
 public:
  Text GetText() override {
    ++reads;
    if (duringRead) {
      duringRead();
    }
    return text;
  }
  bool SetText(const Text& newText) override {
    writes.push_back(newText);
    if (!opens) {
      return false;
    }
    text = newText;
    return true;
  }

  Text text;
  // False: held by another program, so writes change nothing.
  bool opens = true;
  int reads = 0;
  std::vector<Text> writes;
  // Runs inside each read, as a desktop's nested event loop would.
  std::function<void()> duringRead;
};

}  // namespace quorvane::testing
