#pragma once

namespace quorvane {

// Parses the command line, runs the chosen command and gives the process's exit code.
[[nodiscard]] int RunCli(int argc, char** argv);

}  // namespace quorvane
