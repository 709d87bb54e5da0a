#include "clipboard/clipboard_watcher.h"

#include <gtest/gtest.h>

#include "support/fake_clipboard.h"
#include "support/recording_window.h"
#include "text/code_page.h"

namespace quorvane {
namespace {

using testing::FakeClipboard;
using testing::RecordingWindow;

struct WatchCase {
  const char* name;
  const char* clipboardUtf8;
  bool taken;
};

class WatcherCase : public ::testing::TestWithParam<WatchCase> {};

TEST_P(WatcherCase, TakesTheWholeTextOnlyWhenAFragmentStandsInLowerCase) {
  FakeClipboard clipboard;
  RecordingWindow window;
  clipboard.text = Cp936FromUtf8(GetParam().clipboardUtf8);
  window.texts[Control::编辑框_地址] = "typed by the user";
  ClipboardWatcher watcher(clipboard, window);

  watcher.OnTick();

  if (GetParam().taken) {
    EXPECT_EQ(window.texts[Control::编辑框_地址], clipboard.text);
    EXPECT_EQ(window.showWindowCount, 1);
  } else {
    EXPECT_EQ(window.texts[Control::编辑框_地址], "typed by the user");
    EXPECT_EQ(window.showWindowCount, 0);
  }
  EXPECT_TRUE(clipboard.writes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WatcherCase,
    ::testing::Values(
        WatchCase{"FragmentAInTheMiddle",
                  "链接: https://pan.baidu.com/s/1AbCdEfG 提取码: x7k2\r\n--来自分享", true},
        WatchCase{"FragmentBOnly", "https://yun.baidu.com/s/9ZyXwVuT", true},
        WatchCase{"UpperCaseHost", "https://PAN.BAIDU.COM/s/1AbCdEfG Yun.Baidu.com", false},
        WatchCase{"NoLink", "你好 baidu.com", false}, WatchCase{"Empty", "", false}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(ClipboardWatcher, RewritesTheBoxAtEveryTickWhileTheLinkStays) {
  FakeClipboard clipboard;
  RecordingWindow window;
  clipboard.text = "https://pan.baidu.com/s/1AbCdEfG";
  ClipboardWatcher watcher(clipboard, window);

  watcher.OnTick();
  window.texts[Control::编辑框_地址] = "edited";
  watcher.OnTick();

  EXPECT_EQ(window.texts[Control::编辑框_地址], clipboard.text);
  EXPECT_EQ(window.setTextCount[Control::编辑框_地址], 2);
}

TEST(ClipboardWatcher, ATickDuringAClipboardReadReturnsAtOnce) {
  FakeClipboard clipboard;
  RecordingWindow window;
  clipboard.text = "https://yun.baidu.com/s/9ZyXwVuT";
  ClipboardWatcher watcher(clipboard, window);
  int nestedTicks = 0;
  bool nested = false;
  clipboard.duringRead = [&] {
    if (nested) {
      return;
    }
    nested = true;
    ++nestedTicks;
    watcher.OnTick();
    nested = false;
  };

  watcher.OnTick();

  // Fragment B is found on the second read and the third fetches the text: three reads, all
  // the outer tick's, although a nested tick fired inside each.
  EXPECT_EQ(nestedTicks, 3);
  EXPECT_EQ(clipboard.reads, 3);
  EXPECT_EQ(window.showWindowCount, 1);
  EXPECT_EQ(window.setTextCount[Control::编辑框_地址], 1);

  clipboard.duringRead = nullptr;
  watcher.OnTick();
  EXPECT_EQ(window.setTextCount[Control::编辑框_地址], 2);
}

}  // namespace
}  // namespace quorvane
