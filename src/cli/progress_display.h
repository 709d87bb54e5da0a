#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace quorvane {

// The one progress line of a download, redrawn in place on a terminal. Elsewhere it stays
// silent, so that scripts and logs get only the outcome.
class ProgressDisplay {
 public:
  ProgressDisplay(std::FILE* terminal, std::string targetPathUtf8);

  void Update(std::int64_t totalLength, std::int32_t speedKbPerS, std::int32_t percentage);
  // Ends the progress line, so that the outcome gets a line of its own.
  void Finish();

 private:
  [[nodiscard]] std::int64_t FileLength() const;

  std::FILE* terminal_;
  std::string targetPath_;
  bool enabled_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastDraw_;
  std::int64_t lengthAtStart_;
};

}  // namespace quorvane
