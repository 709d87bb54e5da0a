#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace quorvane::testing {

struct CliResult {
  // The exit status, or 128 + the signal that ended the process; -1 when it did not end in time.
  int exitCode = -1;
  std::string out;
  std::string err;
};

// The real quorvane-cli, started with its stdout and stderr captured in files; stopped by its
// pid when this object goes.
class CliProcess {
 public:
  // `wrapper`: a program that runs quorvane-cli for the test, given before it.
  explicit CliProcess(const std::vector<std::string>& args,
                      const std::vector<std::string>& wrapper = {});
  ~CliProcess();
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;

  void Signal(int signalNumber) const { process_.Signal(signalNumber); }
  [[nodiscard]] bool Running() { return process_.Running(); }
  [[nodiscard]] CliResult Wait(std::chrono::milliseconds limit = std::chrono::seconds(60));

 private:
  std::string folder_;
  ChildProcess process_;
};

// Runs quorvane-cli to its end.
[[nodiscard]] CliResult RunCli(const std::vector<std::string>& args,
                               std::chrono::milliseconds limit = std::chrono::seconds(60));
// The same with stdout and stderr on a pseudo-terminal, whose output lands in `out`.
[[nodiscard]] CliResult RunCliOnTerminal(const std::vector<std::string>& args);

// The whole content of a file; empty when it cannot be read.
[[nodiscard]] std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
// -1 when there is no such file.
[[nodiscard]] long long FileSize(const std::string& path);
// Bytes in which every range differs, so a range written twice or out of place shows.
[[nodiscard]] std::string Pattern(std::size_t size);

}  // namespace quorvane::testing
