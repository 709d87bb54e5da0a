#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace quorvane::testing {

// A process a test started and must stop: it is stopped by its id when this object goes.
class ChildProcess {
 public:
  // Starts argv[0] (searched in PATH) with the given arguments; stdout and stderr go to
  // `logPath` when it is not empty. Returns a process whose pid() is -1 when it could not start.
  static ChildProcess Start(const std::vector<std::string>& argv, const std::string& logPath = {});

  ChildProcess() = default;
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  [[nodiscard]] pid_t pid() const { return pid_; }
  [[nodiscard]] bool Running();
  // SIGTERM, then SIGKILL when it has not ended within `grace`. Returns the wait status.
  int Stop(std::chrono::milliseconds grace = std::chrono::milliseconds(3000));
  // Sends a signal without waiting.
  void Signal(int signalNumber) const;
  // Waits for the process to end by itself; -1 when it has not ended within `limit`.
  int Wait(std::chrono::milliseconds limit);

 private:
  pid_t pid_ = -1;
  int status_ = -1;
};

// A loopback TCP port that nobody listens on right now.
[[nodiscard]] int FreeLoopbackPort();
// True once something accepts connections on 127.0.0.1:port, false after `limit`.
[[nodiscard]] bool WaitForLoopbackPort(int port,
                                       std::chrono::milliseconds limit = std::chrono::seconds(10));
// A fresh folder under the system's temporary folder; the caller removes it.
[[nodiscard]] std::string MakeTempFolder(const std::string& prefix);

}  // namespace quorvane::testing
