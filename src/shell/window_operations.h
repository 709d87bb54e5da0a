#pragma once

#include "shell/control.h"
#include "text/text.h"

namespace quorvane {

// What the commands may do to the main window. Texts cross this interface in code page 936.
class WindowOperations {
 public:
  // The only button code the program uses: one OK button, no icon.
  static constexpr int kOkButton = 0;

  virtual ~WindowOperations() = default;

  [[nodiscard]] virtual Text GetText(Control control) = 0;
  // Replaces the whole text, also when it is unchanged.
  virtual void SetText(Control control, const Text& text) = 0;
  // Negative counts as 0; the current value changes nothing; 0 stops the timer.
  virtual void SetTimerPeriod(Control timer, int milliseconds) = 0;
  virtual void SetProgressPosition(Control bar, int position) = 0;
  // Makes a hidden window visible; a minimised one stays minimised.
  virtual void ShowWindow() = 0;
  // Caret to the end, scrolled into view, text inserted there.
  virtual void AppendText(Control editBox, const Text& text) = 0;
  // Modal for the whole program; returns once the user has closed it.
  virtual int MessageBoxWithTitle(const Text& message, int buttons, const Text& title) = 0;
  // The same with the caption "信息：".
  virtual int MessageBox(const Text& message, int buttons) = 0;
  // Opens a web address with the desktop's default handler; failures pass silently.
  virtual void OpenAddress(const Text& address) = 0;
};

}  // namespace quorvane
