#include "support/stand_in_resolver.h"

#include <chrono>
#include <filesystem>
#include <fstream>

namespace quorvane::testing {

StandInResolver::StandInResolver(const Options& options)
    : folder_(MakeTempFolder("stand-in-resolver")), port_(FreeLoopbackPort()) {
  if (folder_.empty() || port_ <= 0) return;
  std::vector<std::string> argv = {
      "python3",         std::string(QUORVANE_TEST_SUPPORT_DIR) + "/stand_in_resolver.py",
      "--port",          std::to_string(port_),
      "--download-base", options.downloadBase,
      "--lifetime",      "600"};
  if (!options.sampleFile.empty()) {
    argv.push_back("--sample-file");
    argv.push_back(options.sampleFile);
  }
  process_ = ChildProcess::Start(argv, folder_ + "/log");
  started_ = process_.pid() > 0 && WaitForLoopbackPort(port_, std::chrono::seconds(20));
}

StandInResolver::~StandInResolver() {
  process_.Stop();
  if (!folder_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
}

std::string StandInResolver::base() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/baidu/?url=";
}

std::vector<std::string> StandInResolver::RequestTargets() const {
  static const std::string kPrefix = "request ";
  std::vector<std::string> targets;
  std::ifstream log(folder_ + "/log");
  for (std::string line; std::getline(log, line);) {
    if (line.rfind(kPrefix, 0) == 0) targets.push_back(line.substr(kPrefix.size()));
  }
  return targets;
}

}  // namespace quorvane::testing
