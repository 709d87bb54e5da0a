#pragma once

#include "text/text.h"

namespace quorvane {

// A resolved name made safe to join to the chosen folder as one file name: "/", "\", control
// characters and bytes that start no code-page-936 character become "_"; "." and ".." become
// the empty text, which no file can be opened under. Other characters stay as they are.
[[nodiscard]] Text SafeFileName(const Text& name);

}  // namespace quorvane
