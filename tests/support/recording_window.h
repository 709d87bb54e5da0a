#pragma once

#include <map>
#include <string>
#include <vector>

#include "shell/window_operations.h"

namespace quorvane::testing {

// A window that remembers what the commands did to it. Texts are kept as given (code page
// 936); message boxes return at once.
class RecordingWindow : public WindowOperations {
 public:
  struct MessageBoxCall {
    Text message;
    int buttons = 0;
    Text title;  // "信息：" in code page 936 when none was given
  };

  Text GetText(Control control) override { return texts[control]; }
  void SetText(Control control, const Text& text) override {
    texts[control] = text;
    ++setTextCount[control];
  }
  void SetTimerPeriod(Control timer, int milliseconds) override {
    timerPeriods[timer] = milliseconds < 0 ? 0 : milliseconds;
  }
  void SetProgressPosition(Control bar, int position) override { positions[bar] = position; }
  void ShowWindow() override { ++showWindowCount; }
  void AppendText(Control editBox, const Text& text) override {
    texts[editBox] += text;
    appended[editBox].push_back(text);
  }
  int MessageBoxWithTitle(const Text& message, int buttons, const Text& title) override {
    messageBoxes.push_back({message, buttons, title});
    return 1;
  }
  int MessageBox(const Text& message, int buttons) override;
  void OpenAddress(const Text& address) override { openedAddresses.push_back(address); }

  std::map<Control, Text> texts;
  std::map<Control, int> setTextCount;
  std::map<Control, std::vector<Text>> appended;
  std::map<Control, int> timerPeriods;
  std::map<Control, int> positions;
  std::vector<MessageBoxCall> messageBoxes;
  std::vector<Text> openedAddresses;
  int showWindowCount = 0;
};

}  // namespace quorvane::testing
