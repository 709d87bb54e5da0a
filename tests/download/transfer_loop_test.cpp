#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <utility>

#include "downloader_fixture.h"

namespace quorvane::testing {
namespace {

using TransferTest = DownloaderFixture;

// Chunk 1 KB; a remote file between two and three chunks long.
constexpr std::int64_t kChunk = 1024;
constexpr std::int64_t kTotal = 2548;

TEST_F(TransferTest, DownloadsANewFileRangeByRange) {
  Prepare(1);
  request->replies = {RangeReply(0, 1023, kTotal, 10), RangeReply(1024, 2047, kTotal, 10),
                      RangeReply(2048, 2547, kTotal, 10)};
  insideFinished = [&] {
    // The file is already closed, and the counters still hold the transfer's figures.
    EXPECT_TRUE(FileIsFree(target));
    EXPECT_TRUE(downloader.busy());
    EXPECT_EQ(downloader.bytesDone(), kTotal);
    EXPECT_EQ(downloader.totalLength(), kTotal);
  };

  EXPECT_TRUE(downloader.Start());

  ASSERT_EQ(request->sent.size(), 3u);
  const SentRequest& first = request->sent[0];
  EXPECT_EQ(first.method, "GET");
  EXPECT_EQ(first.url, kUrl);
  EXPECT_TRUE(first.asynchronous);
  const std::vector<std::pair<Text, Text>> headers = {
      {"Referer", ""},
      {"Accept", "*/*"},
      {"User-Agent", "Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)"},
      {"Range", "bytes=0-1023"},
      {"Content-Type", "application/octet-stream"},
      {"Pragma", "no-cache"},
      {"Cache-Control", "no-cache"}};
  EXPECT_EQ(first.headers, headers);
  EXPECT_EQ(request->sent[1].Header("Range"), "bytes=1024-2047");
  EXPECT_EQ(request->sent[2].Header("Range"), "bytes=2048-3071");

  // 1024 bytes in 10 ms: 1024 / 1.024 / 10 = 100 KB/s.
  ASSERT_EQ(progressCalls.size(), 3u);
  const int percentages[] = {40, 80, 100};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(progressCalls[i].targetPath, target);
    EXPECT_EQ(progressCalls[i].totalLength, kTotal);
    EXPECT_EQ(progressCalls[i].speed, 100);
    EXPECT_EQ(progressCalls[i].percentage, percentages[i]);
  }
  ASSERT_EQ(finishedCalls.size(), 1u);
  EXPECT_EQ(finishedCalls[0].url, kUrl);
  EXPECT_EQ(finishedCalls[0].status, 206);
  EXPECT_EQ(finishedCalls[0].statusMessage, Cp936("下载完毕"));
  EXPECT_EQ(finishedCalls[0].percentage, 100);

  EXPECT_EQ(ReadWholeFile(target), RemoteBytes(0, kTotal));
  EXPECT_FALSE(downloader.busy());
  EXPECT_EQ(downloader.bytesDone(), 0);
  EXPECT_EQ(downloader.totalLength(), 0);
  EXPECT_EQ(downloader.statusMessage(), Cp936("下载完毕"));
}

TEST_F(TransferTest, ContinuesFromTheLocalFileWithoutWaitingForAReplyAlreadyThere) {
  WriteWholeFile(target, RemoteBytes(0, 1500));
  Prepare(1);
  request->replies = {RangeReply(1500, 1999, 2000)};

  EXPECT_TRUE(downloader.Start());

  ASSERT_EQ(request->sent.size(), 1u);
  EXPECT_EQ(request->sent[0].Header("Range"), "bytes=1500-2523");
  EXPECT_EQ(request->waitCount, 0);
  ASSERT_EQ(progressCalls.size(), 1u);
  EXPECT_EQ(progressCalls[0].totalLength, 2000);
  EXPECT_EQ(progressCalls[0].percentage, 100);
  // Within the same millisecond as the send.
  EXPECT_EQ(progressCalls[0].speed, 0);
  EXPECT_EQ(ReadWholeFile(target), RemoteBytes(0, 2000));
}

TEST_F(TransferTest, CountsPastFourGibibytes) {
  constexpr std::int64_t kLocal = 5LL * 1024 * 1024 * 1024 - 100;
  constexpr std::int64_t kRemote = kLocal + 1100;
  {
    const int descriptor = ::open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(::ftruncate(descriptor, kLocal), 0);
    ::close(descriptor);
  }
  Prepare(1);
  request->replies = {RangeReply(kLocal, kLocal + 1023, kRemote),
                      RangeReply(kLocal + 1024, kRemote - 1, kRemote)};

  EXPECT_TRUE(downloader.Start());

  ASSERT_EQ(request->sent.size(), 2u);
  EXPECT_EQ(request->sent[0].Header("Range"), "bytes=5368709020-5368710043");
  EXPECT_EQ(request->sent[1].Header("Range"), "bytes=5368710044-5368711067");
  ASSERT_EQ(progressCalls.size(), 2u);
  EXPECT_EQ(progressCalls[0].totalLength, kRemote);
  EXPECT_EQ(progressCalls[0].percentage, 99);
  EXPECT_EQ(progressCalls[1].percentage, 100);
  EXPECT_EQ(std::filesystem::file_size(target), static_cast<std::uintmax_t>(kRemote));
  std::ifstream in(target, std::ios::binary);
  in.seekg(kLocal);
  Bytes tail(1100);
  in.read(reinterpret_cast<char*>(tail.data()), 1100);
  EXPECT_EQ(tail, RemoteBytes(kLocal, 1100));
}

struct StatusCase {
  int status;
  const char* statusText;
  const char* outcome;  // UTF-8
};

class StatusTest : public DownloaderFixture, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(StatusTest, EndsWithoutWritingAnythingButA206) {
  Prepare(1);
  FakeReply reply = RangeReply(0, 1023, kTotal);
  reply.status = GetParam().status;
  reply.statusText = GetParam().statusText;
  request->replies = {reply};

  EXPECT_FALSE(downloader.Start());

  ASSERT_EQ(finishedCalls.size(), 1u);
  EXPECT_EQ(finishedCalls[0].status, GetParam().status);
  EXPECT_EQ(finishedCalls[0].statusMessage, Cp936(GetParam().outcome));
  EXPECT_EQ(finishedCalls[0].percentage, 0);
  EXPECT_TRUE(progressCalls.empty());
  EXPECT_TRUE(ReadWholeFile(target).empty());
  EXPECT_FALSE(downloader.busy());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, StatusTest,
    ::testing::Values(StatusCase{404, "Not Found", "Not Found"},
                      StatusCase{503, "Service Unavailable", "Service Unavailable"},
                      StatusCase{302, "Found", "Found"},
                      // The server ignored the Range header and sent the whole file.
                      StatusCase{200, "OK", "服务器不支持断点续传！"},
                      // A status that could not be read.
                      StatusCase{0, "", "服务器不支持断点续传！"}));

struct BadRangeCase {
  const char* contentRange;
  const char* contentEncoding;
  std::int64_t bodyLength;
  const char* outcome;  // UTF-8
};

class BadRangeTest : public DownloaderFixture,
                     public ::testing::WithParamInterface<BadRangeCase> {};

// The second reply is the faulty one: the file keeps the first range and gains nothing more.
TEST_P(BadRangeTest, WritesNothingOfAReplyThatDoesNotContinueTheFile) {
  Prepare(1);
  FakeReply bad;
  bad.contentRange = GetParam().contentRange;
  bad.contentEncoding = GetParam().contentEncoding;
  bad.body = RemoteBytes(kChunk, GetParam().bodyLength);
  request->replies = {RangeReply(0, 1023, kTotal), bad, RangeReply(1024, 2047, kTotal)};

  EXPECT_FALSE(downloader.Start());

  EXPECT_EQ(request->sent.size(), 2u);
  ASSERT_EQ(finishedCalls.size(), 1u);
  EXPECT_EQ(finishedCalls[0].statusMessage, Cp936(GetParam().outcome));
  EXPECT_EQ(finishedCalls[0].percentage, 40);
  EXPECT_EQ(progressCalls.size(), 1u);
  EXPECT_EQ(ReadWholeFile(target), RemoteBytes(0, kChunk));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, BadRangeTest,
    ::testing::Values(
        BadRangeCase{"", "", 1024, "文件长度未知！"},
        BadRangeCase{"bytes 1024-2047/*", "", 1024, "文件长度未知！"},
        BadRangeCase{"garbage", "", 1024, "服务器返回的数据范围无效！"},
        BadRangeCase{"bytes 2047-1024/2548", "", 1024, "服务器返回的数据范围无效！"},
        BadRangeCase{"bytes 1024-2047/2047", "", 1024, "服务器返回的数据范围无效！"},
        BadRangeCase{"bytes */2548", "", 1024, "服务器返回的数据范围无效！"},
        BadRangeCase{"bytes 1024-99999999999999999999/99999999999999999999", "", 1024,
                     "服务器返回的数据范围无效！"},
        BadRangeCase{"bytes 0-1023/2548", "", 1024, "服务器返回的数据范围与请求不符！"},
        BadRangeCase{"bytes 1025-2048/2548", "", 1024, "服务器返回的数据范围与请求不符！"},
        BadRangeCase{"bytes 1024-2047/2548", "", 1000, "服务器返回的数据长度与范围不符！"},
        BadRangeCase{"bytes 1024-2047/2548", "", 1100, "服务器返回的数据长度与范围不符！"},
        BadRangeCase{"bytes 1024-2047/2548", "gzip", 1024, "服务器返回了压缩数据，无法续传！"}));

TEST_F(TransferTest, AcceptsAnIdentityEncoding) {
  Prepare(1);
  FakeReply reply = RangeReply(0, 999, 1000);
  reply.contentEncoding = "identity";
  request->replies = {reply};

  EXPECT_TRUE(downloader.Start());
  EXPECT_EQ(ReadWholeFile(target), RemoteBytes(0, 1000));
}

struct EndOfFileCase {
  const char* name;
  std::int64_t localLength;
  const char* contentRange;
  bool complete;
  const char* outcome;              // UTF-8
  std::int64_t reportedTotal;       // in the progress report, when there is one
  std::int32_t reportedPercentage;  // in the progress report and the finished routine
};

class EndOfFileTest : public DownloaderFixture,
                      public ::testing::WithParamInterface<EndOfFileCase> {};

TEST_P(EndOfFileTest, AppendsNothingAndIsCompleteOnlyAtTheRemoteLength) {
  const EndOfFileCase& c = GetParam();
  const Bytes local = RemoteBytes(0, c.localLength);
  WriteWholeFile(target, local);
  Prepare(1);
  FakeReply reply;
  reply.status = 416;
  reply.statusText = "Range Not Satisfiable";
  reply.contentRange = c.contentRange;
  reply.body = TextToBytes("<html>416</html>");
  request->replies = {reply};

  EXPECT_EQ(downloader.Start(), c.complete);

  EXPECT_EQ(ReadWholeFile(target), local);
  ASSERT_EQ(finishedCalls.size(), 1u);
  EXPECT_EQ(finishedCalls[0].status, 416);
  EXPECT_EQ(finishedCalls[0].statusMessage, Cp936(c.outcome));
  EXPECT_EQ(finishedCalls[0].percentage, c.reportedPercentage);
  if (c.complete) {
    ASSERT_EQ(progressCalls.size(), 1u);
    EXPECT_EQ(progressCalls[0].totalLength, c.reportedTotal);
    EXPECT_EQ(progressCalls[0].percentage, c.reportedPercentage);
  } else {
    EXPECT_TRUE(progressCalls.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Replies, EndOfFileTest,
    ::testing::Values(
        EndOfFileCase{"TotalEqualsLocal", 2548, "bytes */2548", true, "下载完毕", 2548, 100},
        // Without a total nothing is known about the size.
        EndOfFileCase{"NoContentRange", 2548, "", true, "下载完毕", 0, 0},
        EndOfFileCase{"RangeWithoutTotal", 2548, "bytes 0-9/*", true, "下载完毕", 0, 0},
        EndOfFileCase{"EmptyRemoteFile", 0, "bytes */0", true, "下载完毕", 0, 0},
        EndOfFileCase{"LocalLonger", 2600, "bytes */2548", false,
                      "本地文件与服务器上的文件长度不符！", 0, 0},
        EndOfFileCase{"LocalShorter", 2548, "bytes */3000", false,
                      "本地文件与服务器上的文件长度不符！", 0, 0},
        EndOfFileCase{"Garbage", 2548, "bytes */x", false, "服务器返回的数据范围无效！", 0, 0}),
    [](const ::testing::TestParamInfo<EndOfFileCase>& testInfo) { return testInfo.param.name; });

// Writes past this length fail, as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    ::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  sighandler_t oldHandler_ = SIG_DFL;
};

TEST_F(TransferTest, EndsOnAShortWriteKeepingEveryByteWritten) {
  Prepare(1);
  request->replies = {RangeReply(0, 1023, kTotal), RangeReply(1024, 2047, kTotal),
                      RangeReply(2048, 2547, kTotal)};
  bool started = false;
  {
    const FileSizeLimit limit(1500);
    started = downloader.Start();
  }

  EXPECT_FALSE(started);
  EXPECT_EQ(request->sent.size(), 2u);
  ASSERT_EQ(finishedCalls.size(), 1u);
  EXPECT_EQ(finishedCalls[0].statusMessage, Cp936("写入本地文件失败！"));
  EXPECT_EQ(finishedCalls[0].percentage, 40);
  EXPECT_EQ(ReadWholeFile(target), RemoteBytes(0, 1500));
}

TEST_F(TransferTest, TimesOutOnlyOnceMoreThanTheTimeOutHasPassed) {
  // 25 KB: a time-out of 256000 ms, a whole number of one-second waits.
  Prepare(25);
  ASSERT_EQ(downloader.timeoutMs(), 256000);
  FakeReply never;
  never.arrives = false;
  request->replies = {never};
  const std::int64_t sendTime = clock->now;

  EXPECT_FALSE(downloader.Start());

  EXPECT_EQ(clock->now - sendTime, 257000);
  EXPECT_EQ(request->waitCount, 257);
  EXPECT_EQ(request->abortCount, 1);
  ASSERT_EQ(finishedCalls.size(), 1u);
  EXPECT_EQ(finishedCalls[0].statusMessage, Cp936("数据下载超时，建议重试。"));
  EXPECT_EQ(finishedCalls[0].status, 0);
  EXPECT_TRUE(ReadWholeFile(target).empty());
}

TEST_F(TransferTest, EndsWhenAbortedDuringAWait) {
  Prepare(1);
  request->replies = {RangeReply(0, 1023, kTotal, 500)};
  request->duringWait = [&] { downloader.Abort(); };

  EXPECT_FALSE(downloader.Start());

  EXPECT_EQ(request->abortCount, 1);
  ASSERT_EQ(finishedCalls.size(), 1u);
  EXPECT_EQ(finishedCalls[0].statusMessage, Cp936("用户中止了下载"));
  EXPECT_TRUE(ReadWholeFile(target).empty());
  EXPECT_FALSE(downloader.busy());
  EXPECT_FALSE(downloader.abortRequested());
}

TEST_F(TransferTest, EndsAfterTheRangeWhenAbortedFromTheProgressRoutine) {
  Prepare(1);
  request->replies = {RangeReply(0, 1023, kTotal), RangeReply(1024, 2047, kTotal)};
  insideProgress = [&] { downloader.Abort(); };

  EXPECT_FALSE(downloader.Start());

  EXPECT_EQ(request->sent.size(), 1u);
  EXPECT_EQ(request->abortCount, 1);
  ASSERT_EQ(finishedCalls.size(), 1u);
  EXPECT_EQ(finishedCalls[0].statusMessage, "");
  EXPECT_EQ(finishedCalls[0].percentage, 40);
  EXPECT_EQ(ReadWholeFile(target), RemoteBytes(0, kChunk));
}

TEST_F(TransferTest, ANestedStartIsToldButDoesNotDisturbTheRunningTransfer) {
  Prepare(1);
  request->replies = {RangeReply(0, 1023, kTotal), RangeReply(1024, 2047, kTotal),
                      RangeReply(2048, 2547, kTotal)};
  insideProgress = [&] {
    if (progressCalls.size() == 1) {
      EXPECT_FALSE(downloader.Start());
      EXPECT_EQ(downloader.bytesDone(), kChunk);
      EXPECT_TRUE(downloader.busy());
    }
  };

  EXPECT_TRUE(downloader.Start());

  ASSERT_EQ(finishedCalls.size(), 2u);
  EXPECT_EQ(finishedCalls[0].statusMessage, Cp936("正在下载中……"));
  EXPECT_EQ(finishedCalls[0].percentage, 40);
  EXPECT_EQ(finishedCalls[1].statusMessage, Cp936("下载完毕"));
  EXPECT_EQ(ReadWholeFile(target), RemoteBytes(0, kTotal));
}

TEST_F(TransferTest, ANestedStartLeavesTheOutcomeOfAnAbortedTransferAlone) {
  Prepare(1);
  request->replies = {RangeReply(0, 1023, kTotal), RangeReply(1024, 2047, kTotal)};
  insideProgress = [&] {
    static_cast<void>(downloader.Start());
    downloader.Abort();
  };

  EXPECT_FALSE(downloader.Start());

  ASSERT_EQ(finishedCalls.size(), 2u);
  EXPECT_EQ(finishedCalls[1].statusMessage, "");
}

TEST_F(TransferTest, SurvivesUninitialiseFromTheProgressRoutine) {
  Prepare(1);
  request->replies = {RangeReply(0, 1023, kTotal), RangeReply(1024, 2047, kTotal)};
  insideProgress = [&] { downloader.Uninitialise(); };

  EXPECT_FALSE(downloader.Start());

  EXPECT_EQ(request->sent.size(), 1u);
  EXPECT_TRUE(finishedCalls.empty());
  EXPECT_FALSE(downloader.initialised());
  EXPECT_FALSE(downloader.busy());
  EXPECT_EQ(ReadWholeFile(target), RemoteBytes(0, kChunk));
}

TEST_F(TransferTest, CannotOpenAFileInAMissingFolder) {
  Prepare(1);
  ASSERT_TRUE(downloader.SetTargetFile(PathOf("missing/file.bin")));

  EXPECT_FALSE(downloader.Start());

  EXPECT_TRUE(request->sent.empty());
  ASSERT_EQ(finishedCalls.size(), 1u);
  EXPECT_EQ(finishedCalls[0].statusMessage, Cp936("本地文件无法打开"));
  EXPECT_FALSE(downloader.busy());
}

TEST_F(TransferTest, CannotOpenAFileThatAnotherTransferHolds) {
  WriteWholeFile(target, RemoteBytes(0, 100));
  const int other = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
  Prepare(1);
  request->replies = {RangeReply(100, 1123, kTotal)};

  EXPECT_FALSE(downloader.Start());
  ::close(other);

  EXPECT_TRUE(request->sent.empty());
  ASSERT_EQ(finishedCalls.size(), 1u);
  EXPECT_EQ(finishedCalls[0].statusMessage, Cp936("本地文件无法打开"));
  EXPECT_EQ(finishedCalls[0].percentage, 0);
  EXPECT_FALSE(downloader.busy());
  EXPECT_EQ(downloader.bytesDone(), 0);
  EXPECT_EQ(ReadWholeFile(target), RemoteBytes(0, 100));
}

}  // namespace
}  // namespace quorvane::testing
