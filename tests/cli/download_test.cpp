#include <signal.h>

#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "cli_process.h"
#include "support/nginx_fixture.h"
#include "support/test_http_server.h"

namespace quorvane::testing {
namespace {

// Waits until the running download has appended at least `bytes`, and `settle` more, then
// sends the signal.
void SignalAfter(CliProcess& cli, const std::string& path, long long bytes, int signalNumber,
                 std::chrono::milliseconds settle = std::chrono::milliseconds(0)) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (FileSize(path) < bytes && cli.Running() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_GE(FileSize(path), bytes);
  std::this_thread::sleep_for(settle);
  cli.Signal(signalNumber);
}

// nginx serving one generated file at /data.bin, at /no-ranges/data.bin without ranges, and at
// /slow/data.bin at 4 KB a second (a range of 8 KB takes over a second), so that a transfer is
// surely interrupted part-way.
class DownloadCommand : public ::testing::Test {
 protected:
  static constexpr std::size_t kSize = 300 * 1024 + 77;

  void SetUp() override {
    ASSERT_FALSE(folder_.empty());
    std::filesystem::create_directories(folder_ + "/www");
    WriteFile(folder_ + "/www/data.bin", data_);
    nginx_ = std::make_unique<NginxFixture>(
        folder_ + "/www",
        std::vector<std::string>{"location /slow/ { alias " + folder_ + "/www/; limit_rate 4k; }"});
    ASSERT_TRUE(nginx_->Ready()) << nginx_->ErrorLog();
  }

  void TearDown() override {
    nginx_.reset();
    std::filesystem::remove_all(folder_);
  }

  std::string Target() const { return folder_ + "/target.bin"; }

  const std::string folder_ = MakeTempFolder("quorvane-cli-download");
  const std::string data_ = Pattern(kSize);
  std::unique_ptr<NginxFixture> nginx_;
};

TEST_F(DownloadCommand, CompletesANewAPartialOrAFinishedFile) {
  for (std::size_t present : {std::size_t{0}, std::size_t{12345}, kSize}) {
    SCOPED_TRACE(present);
    WriteFile(Target(), data_.substr(0, present));

    const CliResult result = RunCli({"download", nginx_->Url("data.bin"), Target()});

    EXPECT_EQ(result.exitCode, 0) << result.err;
    // Not a terminal: no progress line, only the outcome.
    EXPECT_EQ(result.out, "下载完毕\n");
    EXPECT_TRUE(ReadFile(Target()) == data_);
  }
}

TEST_F(DownloadCommand, AsksForRangesOfTheChosenSize) {
  const std::pair<const char*, const char*> cases[] = {
      {nullptr, "\"bytes=0-20479\""},  // the window's 20 KB
      {"0", "\"bytes=0-4095\""},
      {"255", "\"bytes=0-261119\""},
  };
  for (const auto& [kilobytes, firstRange] : cases) {
    SCOPED_TRACE(kilobytes ? kilobytes : "default");
    std::filesystem::remove(Target());
    const std::size_t earlierRequests = nginx_->AccessLogLines().size();
    std::vector<std::string> args = {"download", "--referrer", "http://r.example/",
                                     nginx_->Url("data.bin"), Target()};
    if (kilobytes) {
      args.insert(args.begin() + 1, {"--chunk-kb", kilobytes});
    }

    const CliResult result = RunCli(args);

    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(ReadFile(Target()) == data_);
    // nginx logs a request only after its reply has gone out, so wait for the line; each case
    // asks for a different first range, so a late line of the previous case cannot match.
    const std::vector<std::string> log = nginx_->AccessLogLines(earlierRequests + 1);
    ASSERT_GT(log.size(), earlierRequests);
    const bool asked = std::any_of(
        log.begin() + static_cast<std::ptrdiff_t>(earlierRequests), log.end(),
        [&](const std::string& line) { return line.find(firstRange) != std::string::npos; });
    EXPECT_TRUE(asked) << "no request for " << firstRange;
  }
}

TEST_F(DownloadCommand, FailuresEndWithTheOutcomeAndExitOne) {
  struct Case {
    std::string url;
    std::string target;
    std::string out;
  };
  const Case cases[] = {
      {nginx_->Url("no-ranges/data.bin"), Target(), "服务器不支持断点续传！\n"},
      {nginx_->Url("missing.bin"), Target(), "Not Found\n"},
      {nginx_->Url("data.bin"), folder_ + "/no-such-folder/target.bin", "本地文件无法打开\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    const CliResult result = RunCli({"download", c.url, c.target});

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, c.out);
  }
  EXPECT_EQ(FileSize(Target()), 0);
}

TEST_F(DownloadCommand, RefusesAFileNameTheDownloaderCannotWrite) {
  const std::string target = folder_ + "/emoji-\xF0\x9F\x98\x80.bin";

  const CliResult result = RunCli({"download", nginx_->Url("data.bin"), target});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("code page 936"), std::string::npos) << result.err;
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/emoji-?.bin"));
}

TEST_F(DownloadCommand, KilledPartWayThenRunAgainEndsIdentical) {
  {
    CliProcess cli({"download", "--chunk-kb", "8", nginx_->Url("slow/data.bin"), Target()});
    SignalAfter(cli, Target(), 8192, SIGKILL);
    EXPECT_EQ(cli.Wait().exitCode, 128 + SIGKILL);
  }
  const long long kept = FileSize(Target());
  ASSERT_LT(kept, static_cast<long long>(kSize));
  EXPECT_TRUE(ReadFile(Target()) == data_.substr(0, kept));

  const CliResult again = RunCli({"download", nginx_->Url("data.bin"), Target()});

  EXPECT_EQ(again.exitCode, 0) << again.out;
  EXPECT_TRUE(ReadFile(Target()) == data_);
}

TEST_F(DownloadCommand, CtrlCStopsAfterARangeKeepsTheBytesAndExits130) {
  CliProcess cli({"download", "--chunk-kb", "8", nginx_->Url("slow/data.bin"), Target()});
  // The first range is in; the second is on its way when Ctrl-C comes, and is still kept.
  SignalAfter(cli, Target(), 8192, SIGINT, std::chrono::milliseconds(200));
  const CliResult stopped = cli.Wait(std::chrono::seconds(20));

  EXPECT_EQ(stopped.exitCode, 130);
  EXPECT_EQ(stopped.out, "用户中止了下载\n");
  const long long kept = FileSize(Target());
  EXPECT_EQ(kept, 2 * 8192);
  EXPECT_TRUE(ReadFile(Target()) == data_.substr(0, kept));

  const CliResult again = RunCli({"download", nginx_->Url("data.bin"), Target()});

  EXPECT_EQ(again.exitCode, 0);
  EXPECT_TRUE(ReadFile(Target()) == data_);
}

TEST_F(DownloadCommand, OnATerminalShowsOneProgressLineThenTheOutcome) {
  const CliResult result = RunCliOnTerminal({"download", nginx_->Url("data.bin"), Target()});

  EXPECT_EQ(result.exitCode, 0);
  // The terminal turns each line feed into CR LF.
  EXPECT_EQ(result.out.rfind("\r", 0), 0u) << result.out;
  EXPECT_NE(result.out.find("300.1 KiB / 300.1 KiB  100%"), std::string::npos) << result.out;
  const std::string ending = " left\x1b[K\r\n下载完毕\r\n";
  ASSERT_GE(result.out.size(), ending.size());
  EXPECT_EQ(result.out.substr(result.out.size() - ending.size()), ending) << result.out;
  EXPECT_TRUE(ReadFile(Target()) == data_);
}

TEST(DownloadCommandStalled, CtrlCGivesUpAReplyThatDoesNotCome) {
  TestHttpServer server;
  ASSERT_TRUE(server.started());
  const std::string folder = MakeTempFolder("quorvane-cli-stall");
  const std::string target = folder + "/target.bin";
  server.Script({{.status = 206,
                  .reason = "Partial Content",
                  .headers = {{"Content-Range", "bytes 0-4095/65536"}},
                  .body = std::string(4096, 'a')},
                 {.status = 206,
                  .reason = "Partial Content",
                  .headers = {{"Content-Range", "bytes 4096-8191/65536"}},
                  .body = std::string(4096, 'b'),
                  .delayMs = 100000}});

  CliProcess cli({"download", "--chunk-kb", "4", server.Url("/f"), target});
  // Long enough for the second request to be waiting for its reply.
  SignalAfter(cli, target, 4096, SIGINT, std::chrono::milliseconds(300));
  const CliResult stopped = cli.Wait(std::chrono::seconds(20));

  EXPECT_EQ(stopped.exitCode, 130);
  EXPECT_EQ(stopped.out, "用户中止了下载\n");
  EXPECT_EQ(ReadFile(target), std::string(4096, 'a'));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quorvane::testing
