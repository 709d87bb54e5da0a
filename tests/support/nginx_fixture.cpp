#include "support/nginx_fixture.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace quorvane::testing {

namespace {

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

}  // namespace

NginxFixture::NginxFixture(const std::string& rootDir, const std::vector<std::string>& extraConfig)
    : workDir_(MakeTempFolder("quorvane-nginx")) {
  if (workDir_.empty()) return;
  // Another process may take the free port before nginx binds it; try a few ports.
  for (int attempt = 0; attempt < 3 && !ready_; ++attempt) {
    port_ = FreeLoopbackPort();
    std::vector<std::string> argv = {std::string(QUORVANE_TEST_SUPPORT_DIR) + "/start-nginx",
                                     "--foreground", rootDir, std::to_string(port_), workDir_};
    argv.insert(argv.end(), extraConfig.begin(), extraConfig.end());
    nginx_ = ChildProcess::Start(argv, workDir_ + "/start.log");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (nginx_.Running() && std::chrono::steady_clock::now() < deadline && !ready_) {
      ready_ = WaitForLoopbackPort(port_, std::chrono::milliseconds(100));
    }
  }
}

NginxFixture::~NginxFixture() {
  nginx_.Stop();
  if (!workDir_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(workDir_, ignored);
  }
}

std::string NginxFixture::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/" + path;
}

std::vector<std::string> NginxFixture::AccessLogLines(std::size_t atLeast) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (;;) {
    std::vector<std::string> lines;
    std::istringstream log(ReadWholeFile(workDir_ + "/access.log"));
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    if (lines.size() >= atLeast || std::chrono::steady_clock::now() >= deadline) return lines;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::string NginxFixture::ErrorLog() const {
  return ReadWholeFile(workDir_ + "/start.log") + ReadWholeFile(workDir_ + "/error.log");
}

}  // namespace quorvane::testing
