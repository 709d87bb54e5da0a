#include "x_server.h"

#include <X11/Xlib.h>

#include <sys/wait.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace quorvane::testing {
namespace {

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

// Xvfb writes the display number it chose, alone on a line, to the descriptor of -displayfd.
std::string DisplayNumber(const std::string& log) {
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos) {
      return line;
    }
  }
  return {};
}

}  // namespace

XServer::XServer() : folder_(MakeTempFolder("quorvane-x")) {
  const std::string log = folder_ + "/xvfb.log";
  xvfb_ = ChildProcess::Start(
      {"Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"},
      log);
  if (xvfb_.pid() < 0) {
    failure_ = "Xvfb could not be run (is the xvfb package installed?)";
    return;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (std::chrono::steady_clock::now() < deadline) {
    const std::string number = DisplayNumber(ReadWholeFile(log));
    if (!number.empty()) {
      display_ = ":" + number;
      setenv("DISPLAY", display_.c_str(), 1);
      return;
    }
    if (!xvfb_.Running()) {
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  failure_ = "Xvfb did not start: " + ReadWholeFile(log);
}

XServer::~XServer() {
  xvfb_.Stop();
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string RunCommand(const std::vector<std::string>& argv, int* exitCode,
                       std::chrono::milliseconds limit) {
  const std::string folder = MakeTempFolder("quorvane-run");
  const std::string log = folder + "/out";
  ChildProcess child = ChildProcess::Start(argv, log);
  const int status = child.pid() < 0 ? -1 : child.Wait(limit);
  if (exitCode != nullptr) {
    *exitCode = status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  child.Stop();
  std::string output = ReadWholeFile(log);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return output;
}

bool RequestClose(const std::string& window) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    return false;
  }
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = std::stoul(window);
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const Status sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XCloseDisplay(display);
  return sent != 0;
}

}  // namespace quorvane::testing
