#pragma once

#include <cstdint>

#include "text/text.h"

namespace quorvane {

// The local file a transfer appends to. It is created when missing, never truncated, and held
// under an exclusive lock for as long as it is open, so that two transfers into the same file
// (from this program or another) cannot interleave their ranges.
class AppendFile {
 public:
  AppendFile() = default;
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;
  ~AppendFile() { Close(); }

  // `path` in code page 936. False when the file cannot be opened or someone else holds it.
  [[nodiscard]] bool Open(const Text& path);
  // The length the file had when it was opened.
  [[nodiscard]] std::int64_t Length() const { return length_; }
  // Writes every byte at the end of the file. False when that fails; whatever was written
  // before the failure stays in the file.
  [[nodiscard]] bool Append(const Bytes& bytes);
  void Close();

 private:
  int descriptor_ = -1;
  std::int64_t length_ = 0;
};

}  // namespace quorvane
