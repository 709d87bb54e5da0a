#pragma once

#include <array>
#include <string>

#include "text/text.h"

namespace quorvane {

// The engine that restyles the program's windows. A skin is attached before any window
// exists, so every window is created skinned; its effect is adjusted once the main window
// exists. Neither call reports failure: an unreadable skin leaves the windows unstyled.
class SkinEngine {
 public:
  virtual ~SkinEngine() = default;

  virtual void SkinAttach(const std::string& skinFilePath, const Text& password) = 0;
  virtual void SkinAdjustAero(const std::array<int, 9>& values) = 0;
};

}  // namespace quorvane
