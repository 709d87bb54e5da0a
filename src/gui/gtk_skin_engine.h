#pragma once

#include <array>
#include <string>

#include "shell/skin_engine.h"

class wxTopLevelWindow;

namespace quorvane {

// The built-in skin engine: the skin file is a GTK style sheet that applies to every window
// of the program; the first adjustment value is the main window's opacity (0 to 255), which
// shows where the desktop can draw translucent windows.
class GtkSkinEngine : public SkinEngine {
 public:
  void SkinAttach(const std::string& skinFilePath, const Text& password) override;
  void SkinAdjustAero(const std::array<int, 9>& values) override;

  // The window the adjustment applies to; set once it exists.
  void SetMainWindow(wxTopLevelWindow* window) { window_ = window; }

 private:
  wxTopLevelWindow* window_ = nullptr;
};

}  // namespace quorvane
