// Whole transfers through the real request object against nginx, compared byte for byte.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "download/range_downloader.h"
#include "download/steady_clock.h"
#include "net/curl_http_request.h"
#include "support/child_process.h"
#include "support/nginx_fixture.h"
#include "support/test_http_server.h"
#include "text/code_page.h"

namespace quorvane {
namespace {

using testing::NginxFixture;

constexpr std::int64_t kChunk = 20 * 1024;

std::string RandomBytes(std::size_t count, unsigned seed) {
  std::mt19937 generator(seed);
  std::string bytes(count, '\0');
  for (char& c : bytes) c = static_cast<char>(generator());
  return bytes;
}

void WriteFile(const std::string& path, const std::string& contents) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

// `count` bytes of `path` from `offset`.
std::string ReadAt(const std::string& path, std::int64_t offset, std::size_t count) {
  std::string bytes(count, '\0');
  const int fd = open(path.c_str(), O_RDONLY);
  const ssize_t read = pread(fd, bytes.data(), count, offset);
  close(fd);
  bytes.resize(read < 0 ? 0 : static_cast<std::size_t>(read));
  return bytes;
}

void WriteAt(const std::string& path, std::int64_t length, std::int64_t offset,
             const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_EQ(ftruncate(fd, length), 0);
  ASSERT_EQ(pwrite(fd, bytes.data(), bytes.size(), offset), static_cast<ssize_t>(bytes.size()));
  close(fd);
}

struct Outcome {
  bool complete = false;
  std::int32_t status = 0;
  Text message;
  std::vector<std::int32_t> percentages;
  std::int64_t reportedTotal = 0;
};

// One Start of a downloader built as the programs build it.
Outcome Download(const std::string& url, const std::string& localPath,
                 std::function<void()> whileWaiting = {}) {
  Outcome outcome;
  std::shared_ptr<RangeDownloader> downloader;
  auto makeRequest = [&] { return std::make_shared<CurlHttpRequest>(whileWaiting); };
  downloader = std::make_shared<RangeDownloader>(makeRequest, std::make_shared<SteadyClock>());
  EXPECT_TRUE(downloader->Initialise(
      [&](const Text&, std::int64_t totalLength, std::int32_t, std::int32_t percentage) {
        outcome.reportedTotal = totalLength;
        outcome.percentages.push_back(percentage);
      },
      [&](const Text&, std::int32_t status, const Text& message, std::int32_t) {
        outcome.status = status;
        outcome.message = message;
      }));
  downloader->SetChunkSize(static_cast<std::uint8_t>(kChunk / 1024));
  downloader->SetSource(url, "");
  EXPECT_TRUE(downloader->SetTargetFile(localPath));
  outcome.complete = downloader->Start();
  return outcome;
}

class RangedDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder.empty());
    std::filesystem::create_directories(remote);
    std::filesystem::create_directories(local);
    WriteFile(remote + "/file.bin", contents);
    nginx = std::make_unique<NginxFixture>(remote);
    ASSERT_TRUE(nginx->Ready()) << nginx->ErrorLog();
  }
  void TearDown() override {
    nginx.reset();
    std::filesystem::remove_all(folder);
  }

  const std::string folder = testing::MakeTempFolder("quorvane-ranged");
  const std::string remote = folder + "/remote";
  const std::string local = folder + "/local";
  // Between two and three ranges, so the last range comes back short.
  const std::string contents = RandomBytes(2 * kChunk + 12345, 1);
  std::unique_ptr<NginxFixture> nginx;
};

TEST_F(RangedDownloadTest, NewFileArrivesInRangesOverOneConnection) {
  const Outcome outcome = Download(nginx->Url("file.bin"), local + "/file.bin");

  EXPECT_TRUE(outcome.complete);
  EXPECT_EQ(outcome.message, Cp936FromUtf8("下载完毕"));
  EXPECT_EQ(outcome.status, 206);
  const std::int64_t total = static_cast<std::int64_t>(contents.size());
  EXPECT_EQ(outcome.reportedTotal, total);
  EXPECT_EQ(outcome.percentages,
            (std::vector<std::int32_t>{static_cast<std::int32_t>(100 * kChunk / total),
                                       static_cast<std::int32_t>(200 * kChunk / total), 100}));
  EXPECT_EQ(ReadFile(local + "/file.bin"), contents);
  // Connection number, request number on it, status, range: every range on one connection.
  const std::vector<std::string> log = nginx->AccessLogLines(3);
  ASSERT_EQ(log.size(), 3u);
  const std::string connection = log[0].substr(0, log[0].find(' '));
  EXPECT_EQ(log[0], connection + " 1 206 \"bytes=0-20479\" 20480");
  EXPECT_EQ(log[1], connection + " 2 206 \"bytes=20480-40959\" 20480");
  EXPECT_EQ(log[2], connection + " 3 206 \"bytes=40960-61439\" 12345");
}

TEST_F(RangedDownloadTest, OutcomesByLocalFileAndServer) {
  struct Case {
    std::string name;
    std::string path;
    std::size_t localLength;
    bool complete;
    std::string message;  // UTF-8
    std::int32_t status;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"resumed from an odd length", "file.bin", 20001, true, "下载完毕", 206, contents},
      {"already complete", "file.bin", contents.size(), true, "下载完毕", 416, contents},
      {"server ignores ranges", "no-ranges/file.bin", 0, false, "服务器不支持断点续传！", 200, ""},
      {"missing on the server", "missing.bin", 0, false, "Not Found", 404, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = local + "/file.bin";
    WriteFile(path, contents.substr(0, c.localLength));
    const Outcome outcome = Download(nginx->Url(c.path), path);
    EXPECT_EQ(outcome.complete, c.complete);
    EXPECT_EQ(outcome.message, Cp936FromUtf8(c.message));
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(ReadFile(path), c.expected);
  }
}

// Offsets and lengths past 32 bits, on sparse files so that nothing big is written.
TEST_F(RangedDownloadTest, ResumesAFileLargerThanFourGibibytesNearItsEnd) {
  const std::int64_t total = (std::int64_t{1} << 32) + 3 * kChunk + 777;
  const std::string tail = RandomBytes(3 * kChunk, 2);
  const std::int64_t tailStart = total - static_cast<std::int64_t>(tail.size());
  WriteAt(remote + "/big.bin", total, tailStart, tail);
  // The local file holds the remote file up to an odd point inside the tail.
  const std::int64_t localLength = tailStart + 4321;
  WriteAt(local + "/big.bin", localLength, tailStart, tail.substr(0, 4321));

  const Outcome outcome = Download(nginx->Url("big.bin"), local + "/big.bin");

  EXPECT_TRUE(outcome.complete);
  EXPECT_EQ(outcome.message, Cp936FromUtf8("下载完毕"));
  EXPECT_EQ(outcome.reportedTotal, total);
  EXPECT_EQ(std::filesystem::file_size(local + "/big.bin"), static_cast<std::uintmax_t>(total));
  EXPECT_EQ(ReadAt(local + "/big.bin", tailStart, tail.size()), tail);
  EXPECT_EQ(outcome.percentages.back(), 100);
}

// A server that cannot be reached ends the transfer at once instead of after the request's
// time-out (over three minutes at this chunk size), and the file is left as it was.
TEST_F(RangedDownloadTest, UnreachableServerEndsAtOnce) {
  const std::string path = local + "/file.bin";
  WriteFile(path, contents.substr(0, 100));
  const std::string url =
      "http://127.0.0.1:" + std::to_string(testing::FreeLoopbackPort()) + "/file.bin";

  const Outcome outcome = Download(url, path);

  EXPECT_FALSE(outcome.complete);
  EXPECT_EQ(outcome.message, Cp936FromUtf8("服务器不支持断点续传！"));
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(ReadFile(path), contents.substr(0, 100));
}

// The routine that keeps a window painted is where a user's abort arrives: the transfer must end
// as aborted, not as a failed request.
TEST(RangedDownloadAbortTest, AbortFromTheWaitingRoutineEndsAsAborted) {
  testing::TestHttpServer server;
  ASSERT_TRUE(server.started());
  server.Script({{.status = 206,
                  .headers = {{"Content-Range", "bytes 0-9/10"}},
                  .body = "0123456789",
                  .stallAfterBytes = 50,
                  .stallMs = 20000}});
  const std::string folder = testing::MakeTempFolder("quorvane-abort");
  std::shared_ptr<RangeDownloader> downloader;
  Text message;
  downloader = std::make_shared<RangeDownloader>(
      [&] { return std::make_shared<CurlHttpRequest>([&] { downloader->Abort(); }); },
      std::make_shared<SteadyClock>());
  ASSERT_TRUE(downloader->Initialise(
      {}, [&](const Text&, std::int32_t, const Text& text, std::int32_t) { message = text; }));
  downloader->SetSource(server.Url("/file.bin"), "");
  ASSERT_TRUE(downloader->SetTargetFile(folder + "/file.bin"));

  EXPECT_FALSE(downloader->Start());
  EXPECT_EQ(message, Cp936FromUtf8("用户中止了下载"));
  EXPECT_EQ(ReadFile(folder + "/file.bin"), "");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quorvane
