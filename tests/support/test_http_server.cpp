// Starts http_test_server.py and talks to it through files: the reply script it reads again
// when it changes, and the folder where it saves each request.
#include "support/test_http_server.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace quorvane::testing {

namespace {

namespace fs = std::filesystem;

// Every byte becomes one character U+0000..U+00FF, as the server reads it back.
std::string JsonString(const std::string& bytes) {
  std::string out = "\"";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\\') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string ReplyJson(const TestHttpServer::Reply& r) {
  std::ostringstream json;
  json << "{\"status\": " << r.status << ", \"reason\": " << JsonString(r.reason)
       << ", \"body\": " << JsonString(r.body) << ", \"headers\": [";
  for (std::size_t i = 0; i < r.headers.size(); ++i) {
    json << (i ? ", " : "") << "[" << JsonString(r.headers[i].first) << ", "
         << JsonString(r.headers[i].second) << "]";
  }
  json << "]";
  if (!r.method.empty()) json << ", \"method\": " << JsonString(r.method);
  if (!r.path.empty()) json << ", \"path\": " << JsonString(r.path);
  if (r.repeat) json << ", \"repeat\": true";
  if (r.noLength) json << ", \"no_length\": true";
  if (!r.raw.empty()) json << ", \"raw\": " << JsonString(r.raw);
  if (r.delayMs > 0) json << ", \"delay_ms\": " << r.delayMs;
  if (r.stallAfterBytes >= 0) {
    json << ", \"stall_after_bytes\": " << r.stallAfterBytes << ", \"stall_ms\": " << r.stallMs;
  }
  if (r.chunkSize > 0) {
    json << ", \"chunk_size\": " << r.chunkSize << ", \"chunk_delay_ms\": " << r.chunkDelayMs;
  }
  if (r.dropAfterBytes >= 0) json << ", \"drop_after_bytes\": " << r.dropAfterBytes;
  if (r.close) json << ", \"close\": true";
  json << "}";
  return json.str();
}

}  // namespace

TestHttpServer::TestHttpServer(const Options& options) {
  folder_ = MakeTempFolder("quorvane-http-test");
  if (folder_.empty()) return;
  fs::create_directory(fs::path(folder_) / "requests");
  Script({});
  const std::string server = std::string(QUORVANE_TEST_SUPPORT_DIR) + "/http_test_server.py";
  // Another process may take the free port before the server binds it: try a few.
  for (int attempt = 0; attempt < 5 && !started_; ++attempt) {
    port_ = FreeLoopbackPort();
    std::vector<std::string> argv = {"python3",      server,
                                     "--port",       std::to_string(port_),
                                     "--script",     folder_ + "/script.json",
                                     "--record-dir", folder_ + "/requests",
                                     "--time-limit", std::to_string(options.timeLimitSeconds)};
    if (options.proxy) argv.emplace_back("--proxy");
    process_ = ChildProcess::Start(argv, folder_ + "/server.log");
    started_ = process_.pid() > 0 && WaitForLoopbackPort(port_) && process_.Running();
  }
}

TestHttpServer::~TestHttpServer() {
  process_.Stop();
  if (!folder_.empty()) {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
}

std::string TestHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void TestHttpServer::Script(const std::vector<Reply>& replies) {
  // The generation makes every script differ from the last, so the server starts afresh.
  std::string json = "{\"generation\": " + std::to_string(++generation_) + ", \"replies\": [";
  for (std::size_t i = 0; i < replies.size(); ++i)
    json += (i ? ",\n" : "\n") + ReplyJson(replies[i]);
  json += "]}\n";
  // Renamed into place, so that the server never reads half a script.
  const std::string part = folder_ + "/script.json.part";
  std::ofstream(part, std::ios::binary) << json;
  fs::rename(part, folder_ + "/script.json");
}

std::vector<std::string> TestHttpServer::Requests() const {
  std::vector<std::string> requests;
  for (int n = 1;; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "/request-%04d.bin", n);
    std::ifstream file(folder_ + "/requests" + name, std::ios::binary);
    if (!file) return requests;
    requests.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
}

}  // namespace quorvane::testing
