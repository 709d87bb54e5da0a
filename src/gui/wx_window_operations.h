#pragma once

#include <chrono>

#include "shell/window_operations.h"

namespace quorvane {

class MainFrame;

// The window operations on the wx main window. Texts are converted between code page 936
// and the toolkit's UTF-8 here.
class WxWindowOperations : public WindowOperations {
 public:
  explicit WxWindowOperations(MainFrame& frame) : frame_(frame) {}

  Text GetText(Control control) override;
  void SetText(Control control, const Text& text) override;
  void SetTimerPeriod(Control timer, int milliseconds) override;
  void SetProgressPosition(Control bar, int position) override;
  void ShowWindow() override;
  void AppendText(Control editBox, const Text& text) override;
  int MessageBoxWithTitle(const Text& message, int buttons, const Text& title) override;
  int MessageBox(const Text& message, int buttons) override;
  void OpenAddress(const Text& address) override;

  // While a handler is busy (a resolve, a download), the window is still painted as its
  // progress display changes; message boxes shown meanwhile run their own loop as usual.
  void SetBusy(bool busy) { busy_ = busy; }
  [[nodiscard]] bool Busy() const { return busy_; }

 private:
  void RepaintWhileBusy();

  MainFrame& frame_;
  bool busy_ = false;
  std::chrono::steady_clock::time_point lastRepaint_;
};

}  // namespace quorvane
