#include "cli/interrupt.h"

#include <csignal>

namespace quorvane {

namespace {

volatile std::sig_atomic_t interruptRequested = 0;

void OnInterrupt(int) {
  interruptRequested = 1;
}

}  // namespace

void CatchInterrupt() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // The handler is used once: a user who presses Ctrl-C again does not want to wait.
  action.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &action, nullptr);
}

bool InterruptRequested() {
  return interruptRequested != 0;
}

}  // namespace quorvane
