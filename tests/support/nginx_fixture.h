#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace quorvane::testing {

// nginx serving a folder on a free loopback port, in its own temporary work folder, stopped by
// its pid when this object goes. Files are served at /NAME with byte ranges and at
// /no-ranges/NAME with ranges switched off. `extraConfig` lines go into the server block.
class NginxFixture {
 public:
  explicit NginxFixture(const std::string& rootDir,
                        const std::vector<std::string>& extraConfig = {});
  NginxFixture(const NginxFixture&) = delete;
  NginxFixture& operator=(const NginxFixture&) = delete;
  ~NginxFixture();

  // False when nginx could not be started; the log says why.
  [[nodiscard]] bool Ready() const { return ready_; }
  [[nodiscard]] int Port() const { return port_; }
  // "http://127.0.0.1:PORT/" followed by `path`.
  [[nodiscard]] std::string Url(const std::string& path) const;
  // One line per request so far: connection number, request number on that connection, status,
  // quoted Range header, body bytes sent. nginx writes a line only after its reply has gone
  // out, so a client may be done before the line is there: this waits up to 5 s for `atLeast`.
  [[nodiscard]] std::vector<std::string> AccessLogLines(std::size_t atLeast = 0) const;
  [[nodiscard]] std::string ErrorLog() const;

 private:
  std::string workDir_;
  ChildProcess nginx_;
  int port_ = -1;
  bool ready_ = false;
};

}  // namespace quorvane::testing
