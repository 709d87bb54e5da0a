#include "clipboard/copy_commands.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fake_clipboard.h"
#include "support/recording_window.h"
#include "text/code_page.h"

namespace quorvane {
namespace {

using testing::FakeClipboard;
using testing::RecordingWindow;

const std::string kFooterUtf8 = "\r\n#本信息由【Quorvane生成，欢迎访问：https://quorvane.example】";

TEST(CopyAddressCommand, BeforeAResolveWarnsAndLeavesTheClipboard) {
  FakeClipboard clipboard;
  RecordingWindow window;
  clipboard.text = "earlier";

  CopyAddressCommand(clipboard, window, ResolvedFile{});

  EXPECT_TRUE(clipboard.writes.empty());
  EXPECT_EQ(clipboard.text, "earlier");
  ASSERT_EQ(window.messageBoxes.size(), 1u);
  EXPECT_EQ(Utf8FromCp936(window.messageBoxes[0].message),
            "请先解析地址后再使用本功能，如果无法获取请到官网反馈！");
  EXPECT_EQ(Utf8FromCp936(window.messageBoxes[0].title), "信息：");
  EXPECT_EQ(window.messageBoxes[0].buttons, 0);
}

TEST(CopyAddressCommand, AfterAResolveCopiesTheAddressAloneAndShowsItFramed) {
  for (bool opens : {true, false}) {
    SCOPED_TRACE(opens ? "clipboard free" : "clipboard held elsewhere");
    FakeClipboard clipboard;
    clipboard.opens = opens;
    RecordingWindow window;
    ResolvedFile resolved;
    resolved.downloadAddress = "http://d.example/f?x=1\\/2";

    CopyAddressCommand(clipboard, window, resolved);

    EXPECT_EQ(clipboard.writes, std::vector<Text>{resolved.downloadAddress});
    ASSERT_EQ(window.messageBoxes.size(), 1u);
    const std::string hashes(54, '#');
    const std::string stars(10, '*');
    EXPECT_EQ(Utf8FromCp936(window.messageBoxes[0].message),
              stars + " 以下为您所复制的下载地址，如果无法获取请到官网反馈 " + stars + "\r\n" +
                  hashes + "\r\n" + resolved.downloadAddress + "\r\n" + hashes);
    EXPECT_EQ(Utf8FromCp936(window.messageBoxes[0].title), "温馨提醒：");
    EXPECT_EQ(window.messageBoxes[0].buttons, 0);
  }
}

TEST(CopyAllCommand, CopiesTheResultBoxWithTheFooterAndConfirms) {
  struct Case {
    const char* boxUtf8;
    bool opens;
  };
  for (const Case& c : {Case{"", true}, Case{"\r\n文件名称：a.zip\r\n", true},
                        Case{"\r\n文件名称：a.zip\r\n", false}}) {
    SCOPED_TRACE(c.boxUtf8);
    FakeClipboard clipboard;
    clipboard.opens = c.opens;
    RecordingWindow window;
    window.texts[Control::编辑框_解析] = Cp936FromUtf8(c.boxUtf8);

    CopyAllCommand(clipboard, window);

    ASSERT_EQ(clipboard.writes.size(), 1u);
    EXPECT_EQ(Utf8FromCp936(clipboard.writes[0]), c.boxUtf8 + kFooterUtf8);
    ASSERT_EQ(window.messageBoxes.size(), 1u);
    EXPECT_EQ(Utf8FromCp936(window.messageBoxes[0].message), "复制成功！感谢您的支持");
    EXPECT_EQ(Utf8FromCp936(window.messageBoxes[0].title), "信息：");
  }
}

}  // namespace
}  // namespace quorvane
