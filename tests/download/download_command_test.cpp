#include "download/download_command.h"

#include <filesystem>
#include <memory>
#include <string>

#include "downloader_fixture.h"
#include "support/child_process.h"
#include "support/recording_window.h"

namespace quorvane::testing {
namespace {

class DownloadCommandTest : public ::testing::Test {
 protected:
  DownloadCommandTest() {
    // The folder box starts as a download folder followed by "Taldrin/".
    window.texts[Control::编辑框_路径] = folder + "/Taldrin/";
    window.texts[Control::编辑框_名称] = "a.zip";
    resolved.downloadAddress = "http://127.0.0.1/a.zip";
  }
  ~DownloadCommandTest() override { std::filesystem::remove_all(folder); }

  std::string folder = MakeTempFolder("download-command-test");
  RecordingWindow window;
  ResolvedFile resolved;
  std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
  std::shared_ptr<FakeRequest> request = std::make_shared<FakeRequest>(*clock);
  int requestsMade = 0;
  RangeDownloader downloader{[this]() -> std::shared_ptr<HttpRequest> {
                               ++requestsMade;
                               return request;
                             },
                             clock};
};

TEST_F(DownloadCommandTest, WarnsWhenNothingHasBeenResolved) {
  resolved.downloadAddress.clear();

  DownloadCommand(window, resolved, downloader);

  ASSERT_EQ(window.messageBoxes.size(), 1u);
  EXPECT_EQ(window.messageBoxes[0].message, Cp936("下载地址不正确，请检查地址是否已经解析！"));
  EXPECT_EQ(window.messageBoxes[0].title, Cp936("友情提醒："));
  EXPECT_EQ(window.messageBoxes[0].buttons, 0);
  EXPECT_EQ(requestsMade, 0);
  EXPECT_FALSE(downloader.initialised());
}

TEST_F(DownloadCommandTest, CreatesTheFolderAndDownloadsIntoIt) {
  request->replies = {RangeReply(0, 899, 900)};

  DownloadCommand(window, resolved, downloader);

  const std::string path = folder + "/Taldrin/a.zip";
  EXPECT_EQ(ReadWholeFile(path), RemoteBytes(0, 900));
  ASSERT_EQ(request->sent.size(), 1u);
  EXPECT_EQ(request->sent[0].url, resolved.downloadAddress);
  EXPECT_EQ(request->sent[0].Header("Range"), "bytes=0-20479");
  EXPECT_EQ(downloader.timeoutMs(), 204800);
  EXPECT_EQ(
      window.texts[Control::透明标签1],
      Concat(Text(path), Cp936("\r\n文件尺寸：900Bit\r\n下载进度：100%\r\n下载速度：0 KB/S")));
  EXPECT_EQ(window.positions[Control::进度条1], 100);
  ASSERT_EQ(window.messageBoxes.size(), 1u);
  EXPECT_EQ(window.messageBoxes[0].message, Cp936("下载完毕"));
  EXPECT_EQ(window.messageBoxes[0].title, Cp936("信息："));
}

TEST_F(DownloadCommandTest, JoinsFolderAndNameAsTyped) {
  window.texts[Control::编辑框_路径] = folder + "/Down";
  request->replies = {RangeReply(0, 899, 900)};

  DownloadCommand(window, resolved, downloader);

  EXPECT_TRUE(std::filesystem::is_directory(folder + "/Down"));
  EXPECT_EQ(ReadWholeFile(folder + "/Downa.zip"), RemoteBytes(0, 900));
}

TEST_F(DownloadCommandTest, CreatesOneFolderLevelOnly) {
  window.texts[Control::编辑框_路径] = folder + "/one/two/";

  DownloadCommand(window, resolved, downloader);

  EXPECT_FALSE(FileExists(folder + "/one"));
  ASSERT_EQ(window.messageBoxes.size(), 1u);
  EXPECT_EQ(window.messageBoxes[0].message, Cp936("本地文件无法打开"));
}

TEST_F(DownloadCommandTest, ALaterClickStartsAgainWithTheSameRoutines) {
  FakeReply unavailable;
  unavailable.status = 503;
  unavailable.statusText = "Service Unavailable";
  request->replies = {unavailable, RangeReply(0, 899, 900)};

  DownloadCommand(window, resolved, downloader);
  DownloadCommand(window, resolved, downloader);

  EXPECT_EQ(requestsMade, 1);
  ASSERT_EQ(window.messageBoxes.size(), 2u);
  EXPECT_EQ(window.messageBoxes[0].message, "Service Unavailable");
  EXPECT_EQ(window.messageBoxes[1].message, Cp936("下载完毕"));
}

TEST(ShowProgress, WritesTheFourLinesAndMovesTheBar) {
  const struct {
    std::int64_t total;
    std::int32_t speed;
    std::int32_t percentage;
    const char* label;  // UTF-8
  } cases[] = {
      {900, 312, 40, "/d/a.zip\r\n文件尺寸：900Bit\r\n下载进度：40%\r\n下载速度：312 KB/S"},
      {5368710120, 0, 99,
       "/d/a.zip\r\n文件尺寸：5368710120Bit\r\n下载进度：99%\r\n下载速度：0 KB/S"},
  };
  for (const auto& c : cases) {
    RecordingWindow window;
    OnProgress(window, "/d/a.zip", c.total, c.speed, c.percentage);
    EXPECT_EQ(window.texts[Control::透明标签1], Cp936(c.label));
    EXPECT_EQ(window.positions[Control::进度条1], c.percentage);
  }
}

}  // namespace
}  // namespace quorvane::testing
