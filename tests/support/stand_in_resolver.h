#pragma once

#include <string>
#include <vector>

#include "support/child_process.h"

namespace quorvane::testing {

// The stand-in resolving service (stand_in_resolver.py, whose header lists its known links)
// on a free loopback port. It is stopped by its pid when this object goes, and it ends by
// itself after ten minutes in any case.
class StandInResolver {
 public:
  struct Options {
    std::string downloadBase = "http://127.0.0.1:1/files/";
    std::string sampleFile;  // empty: the made-up sample file
  };

  explicit StandInResolver(const Options& options);
  StandInResolver() : StandInResolver(Options{}) {}
  ~StandInResolver();
  StandInResolver(const StandInResolver&) = delete;
  StandInResolver& operator=(const StandInResolver&) = delete;

  // True once it accepted connections; false when it could not be started.
  [[nodiscard]] bool started() const { return started_; }
  [[nodiscard]] int port() const { return port_; }
  // "http://127.0.0.1:<port>/baidu/?url=", to which a share link is appended.
  [[nodiscard]] std::string base() const;
  // The request targets it has received so far, in order.
  [[nodiscard]] std::vector<std::string> RequestTargets() const;

 private:
  std::string folder_;
  int port_ = -1;
  ChildProcess process_;
  bool started_ = false;
};

}  // namespace quorvane::testing
