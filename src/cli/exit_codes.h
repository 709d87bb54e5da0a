#pragma once

namespace quorvane {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
// What a shell reports for a program ended by Ctrl-C (128 + SIGINT).
inline constexpr int kExitInterrupted = 130;

}  // namespace quorvane
