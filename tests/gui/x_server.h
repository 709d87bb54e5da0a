#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace quorvane::testing {

// A virtual X server (Xvfb, 1024×768, 24-bit) on a display number it picks itself, stopped by
// its pid when this object goes. Started, it becomes DISPLAY for this process and its children.
class XServer {
 public:
  XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;
  ~XServer();

  [[nodiscard]] bool Started() const { return !display_.empty(); }
  // Why it could not start, for a skip message.
  [[nodiscard]] const std::string& Failure() const { return failure_; }

 private:
  std::string folder_;
  ChildProcess xvfb_;
  std::string display_;
  std::string failure_;
};

// Runs a command to its end (at most `limit`) and gives what it wrote on stdout and stderr;
// `exitCode` is -1 when it did not end in time.
std::string RunCommand(const std::vector<std::string>& argv, int* exitCode = nullptr,
                       std::chrono::milliseconds limit = std::chrono::seconds(10));

// Asks a top-level window (by its number) to close, as a window manager's close button does.
[[nodiscard]] bool RequestClose(const std::string& window);

}  // namespace quorvane::testing
