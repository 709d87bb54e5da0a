#include "download/range_downloader.h"

#include <memory>
#include <optional>

#include "downloader_fixture.h"

namespace quorvane::testing {
namespace {

using RangeDownloaderTest = DownloaderFixture;

TEST_F(RangeDownloaderTest, RefusesEverythingBeforeInitialise) {
  EXPECT_FALSE(downloader.SetTargetFile(target));
  downloader.SetSource(kUrl, "http://referrer/");
  downloader.SetChunkSize(20);

  EXPECT_FALSE(downloader.Start());

  EXPECT_EQ(downloader.targetPath(), "");
  EXPECT_EQ(downloader.url(), "");
  EXPECT_EQ(downloader.chunkSize(), 0);
  EXPECT_EQ(downloader.statusMessage(), Cp936("没有初始化"));
  EXPECT_EQ(requestsMade, 0);
  EXPECT_FALSE(FileExists(target));
}

TEST_F(RangeDownloaderTest, InitialisesOnceAndKeepsTheFirstRoutines) {
  Prepare(1);
  bool secondCalled = false;
  const auto second = [&](const Text&, std::int32_t, const Text&, std::int32_t) {
    secondCalled = true;
  };

  EXPECT_FALSE(downloader.Initialise(nullptr, second));
  EXPECT_FALSE(downloader.Start());  // nothing scripted: it times out

  EXPECT_EQ(requestsMade, 1);
  EXPECT_EQ(finishedCalls.size(), 1u);
  EXPECT_FALSE(secondCalled);
}

TEST_F(RangeDownloaderTest, InitialiseSetsTheDefaultChunk) {
  ASSERT_TRUE(downloader.Initialise(nullptr, nullptr));
  EXPECT_TRUE(downloader.initialised());
  EXPECT_EQ(downloader.requestObject(), request);
  EXPECT_EQ(downloader.chunkSize(), 10240);
  EXPECT_EQ(downloader.timeoutMs(), 102400);
}

TEST(RangeDownloaderWithoutRequest, StaysUninitialised) {
  RangeDownloader downloader([] { return std::shared_ptr<HttpRequest>(); },
                             std::make_shared<FakeClock>());
  EXPECT_FALSE(downloader.Initialise(nullptr, nullptr));
  EXPECT_FALSE(downloader.initialised());
  EXPECT_FALSE(downloader.SetTargetFile("x"));
  EXPECT_FALSE(downloader.Start());
  EXPECT_EQ(downloader.statusMessage(), Cp936("没有初始化"));
}

TEST_F(RangeDownloaderTest, ChunkSizeSetsTheTimeOutToTenMillisecondsPerByte) {
  ASSERT_TRUE(downloader.Initialise(nullptr, nullptr));
  const struct {
    std::uint8_t kilobytes;
    std::int32_t chunk;
  } cases[] = {{0, 4096}, {1, 1024}, {20, 20480}, {255, 261120}};
  for (const auto& c : cases) {
    downloader.SetChunkSize(c.kilobytes);
    EXPECT_EQ(downloader.chunkSize(), c.chunk) << int{c.kilobytes};
    EXPECT_EQ(downloader.timeoutMs(), c.chunk * 10) << int{c.kilobytes};
  }
}

TEST_F(RangeDownloaderTest, RefusesConfigurationWhileBusy) {
  Prepare(1);
  request->replies = {RangeReply(0, 99, 100)};
  insideProgress = [&] {
    EXPECT_FALSE(downloader.Initialise(nullptr, nullptr));
    EXPECT_FALSE(downloader.SetTargetFile(PathOf("other.bin")));
    downloader.SetSource("http://other/", "http://referrer/");
    downloader.SetChunkSize(8);
  };

  EXPECT_TRUE(downloader.Start());

  EXPECT_EQ(downloader.targetPath(), target);
  EXPECT_EQ(downloader.url(), kUrl);
  EXPECT_EQ(downloader.referrer(), "");
  EXPECT_EQ(downloader.chunkSize(), 1024);
}

TEST_F(RangeDownloaderTest, SendsTheReferrerItWasGiven) {
  Prepare(1);
  downloader.SetSource(kUrl, "http://referrer/");
  request->replies = {RangeReply(0, 99, 100)};

  EXPECT_TRUE(downloader.Start());

  EXPECT_EQ(request->sent.at(0).Header("Referer"), "http://referrer/");
}

TEST_F(RangeDownloaderTest, NotifyFinishedBeforeAnyTransfer) {
  Prepare(1);
  downloader.NotifyFinished();
  ASSERT_EQ(finishedCalls.size(), 1u);
  EXPECT_EQ(finishedCalls[0].url, kUrl);
  EXPECT_EQ(finishedCalls[0].status, 0);
  EXPECT_EQ(finishedCalls[0].percentage, 0);
}

TEST_F(RangeDownloaderTest, UninitialiseReturnsToAFreshObject) {
  Prepare(1);
  downloader.Uninitialise();

  EXPECT_FALSE(downloader.initialised());
  EXPECT_EQ(downloader.requestObject(), nullptr);
  EXPECT_EQ(downloader.targetPath(), "");
  EXPECT_EQ(downloader.url(), "");
  EXPECT_EQ(downloader.chunkSize(), 0);
  EXPECT_EQ(downloader.timeoutMs(), 0);
  downloader.NotifyFinished();
  EXPECT_TRUE(finishedCalls.empty());

  EXPECT_TRUE(downloader.Initialise(nullptr, nullptr));
  EXPECT_EQ(requestsMade, 2);
}

TEST_F(RangeDownloaderTest, ACopySharesTheRequestObjectButNotTheTexts) {
  Prepare(1);
  std::weak_ptr<HttpRequest> watched = request;
  {
    RangeDownloader copy(downloader);
    EXPECT_EQ(copy.requestObject(), downloader.requestObject());
    EXPECT_EQ(copy.targetPath(), target);
    copy.SetSource("http://elsewhere/", "");
    EXPECT_EQ(downloader.url(), kUrl);
  }
  // The copy's end neither aborted nor released the shared object.
  EXPECT_EQ(request->abortCount, 0);
  request->replies = {RangeReply(0, 99, 100)};
  EXPECT_TRUE(downloader.Start());

  request.reset();
  EXPECT_FALSE(watched.expired());
}

TEST(RangeDownloaderLifetime, DestructionReleasesTheRequestObject) {
  auto clock = std::make_shared<FakeClock>();
  std::weak_ptr<HttpRequest> watched;
  {
    RangeDownloader downloader(
        [&]() -> std::shared_ptr<HttpRequest> {
          auto request = std::make_shared<FakeRequest>(*clock);
          watched = request;
          return request;
        },
        clock);
    ASSERT_TRUE(downloader.Initialise(nullptr, nullptr));
    EXPECT_FALSE(watched.expired());
  }
  EXPECT_TRUE(watched.expired());
}

}  // namespace
}  // namespace quorvane::testing
