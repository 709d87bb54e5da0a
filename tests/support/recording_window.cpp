#include "support/recording_window.h"

#include "text/code_page.h"

namespace quorvane::testing {

int RecordingWindow::MessageBox(const Text& message, int buttons) {
  static const Text kDefaultCaption = Cp936FromUtf8("信息：");
  return MessageBoxWithTitle(message, buttons, kDefaultCaption);
}

}  // namespace quorvane::testing
