#include "resolve/resolve_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/curl_http_client.h"
#include "support/recording_window.h"
#include "support/stand_in_resolver.h"
#include "text/code_page.h"

namespace quorvane {
namespace {

using quorvane::testing::RecordingWindow;
using quorvane::testing::StandInResolver;

const std::string kShare = "https://pan.baidu.com/s/";
const std::string kDownloadBase = "http://127.0.0.1:1/files/";
const std::string kOtherMd5 = "0123456789abcdef0123456789abcdef";
const std::string kOtherAddress =
    kDownloadBase + "%E5%8F%A6%E4%B8%80%E4%B8%AA%E6%96%87%E4%BB%B6.txt";

// The four lines one resolve appends to the result box, in their order.
std::vector<Text> Block(const Text& name, const Text& size, const Text& md5, const Text& address) {
  return {Cp936FromUtf8("\r\n文件名称：") + name + "\r\n",
          Cp936FromUtf8("\r\n文件尺寸：") + size + "\r\n",
          Cp936FromUtf8("\r\n文件 MD5：") + md5 + "\r\n",
          Cp936FromUtf8("\r\n文件地址：") + address + "\r\n"};
}

class ResolveCommandTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { resolver_ = new StandInResolver(); }
  static void TearDownTestSuite() {
    delete resolver_;
    resolver_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(resolver_->started()); }

  void Resolve(const Text& link, const Text& base = resolver_->base()) {
    window_.texts[Control::编辑框_地址] = link;
    ResolveCommand(client_, window_, resolved_, base);
  }

  static inline StandInResolver* resolver_ = nullptr;
  CurlHttpClient client_;
  RecordingWindow window_;
  ResolvedFile resolved_;
};

TEST_F(ResolveCommandTest, ResolvesTheSampleLink) {
  const Text link = kShare + "1qYsAmpL";
  const Text name = Cp936FromUtf8("样例文件.bin");
  const Text address = kDownloadBase + "%E6%A0%B7%E4%BE%8B%E6%96%87%E4%BB%B6.bin";
  const Text md5 = "b6d81b360a5672d80c27430f39153e2c";
  Resolve(link);

  ASSERT_FALSE(resolver_->RequestTargets().empty());
  EXPECT_EQ(resolver_->RequestTargets().back(), "/baidu/?url=" + link);
  EXPECT_EQ(resolved_.responseText.rfind(R"({"name": "\u6837\u4f8b\u6587\u4ef6.bin", )", 0), 0u);
  EXPECT_EQ(resolved_.fileName, name);
  EXPECT_EQ(resolved_.fileSize, "1048576");
  EXPECT_EQ(resolved_.fileMd5, md5);
  EXPECT_EQ(resolved_.downloadAddress, address);
  EXPECT_EQ(window_.appended[Control::编辑框_解析], Block(name, "1048576", md5, address));
  EXPECT_EQ(window_.texts[Control::编辑框_名称], name);
  EXPECT_EQ(window_.setTextCount[Control::编辑框_名称], 1);
}

TEST_F(ResolveCommandTest, SendsTheLinkAsTypedBlanksIncluded) {
  Resolve(" " + kShare + "1qYsAmpL ");
  ASSERT_FALSE(resolver_->RequestTargets().empty());
  // The blanks cross the wire percent-encoded.
  EXPECT_EQ(resolver_->RequestTargets().back(), "/baidu/?url=%20" + kShare + "1qYsAmpL%20");
  EXPECT_EQ(resolved_.downloadAddress, "");  // the service knows no such link
}

TEST_F(ResolveCommandTest, FindsEachMemberWhereverItStands) {
  const Text other = Cp936FromUtf8("另一个文件.txt");
  struct Case {
    std::string code;
    Text size, md5, address;
  };
  const Case cases[] = {
      {"test-other-order", "2048", kOtherMd5, kOtherAddress},
      {"test-md5-last", "2048", "", kOtherAddress},  // no ", " after the last member
      {"test-size-last", "4096", kOtherMd5, kOtherAddress},
      {"test-escaped-slash", "2048", kOtherMd5, R"(http:\/\/127.0.0.1\/a.bin)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    window_ = RecordingWindow();
    Resolve(kShare + c.code);
    EXPECT_EQ(resolved_.fileName, other);
    EXPECT_EQ(resolved_.fileSize, c.size);
    EXPECT_EQ(resolved_.fileMd5, c.md5);
    EXPECT_EQ(resolved_.downloadAddress, c.address);
    EXPECT_EQ(window_.appended[Control::编辑框_解析], Block(other, c.size, c.md5, c.address));
    EXPECT_EQ(window_.texts[Control::编辑框_名称], other);
  }
}

TEST_F(ResolveCommandTest, ASecondResolveAddsABlockAndReplacesTheRecord) {
  Resolve(kShare + "1qYsAmpL");
  const std::vector<Text> first = window_.appended[Control::编辑框_解析];
  Resolve(kShare + "test-size-last");

  const Text other = Cp936FromUtf8("另一个文件.txt");
  std::vector<Text> both = first;
  for (const Text& line : Block(other, "4096", kOtherMd5, kOtherAddress)) both.push_back(line);
  EXPECT_EQ(window_.appended[Control::编辑框_解析], both);
  EXPECT_EQ(resolved_.fileName, other);
  EXPECT_EQ(resolved_.fileSize, "4096");
  EXPECT_EQ(resolved_.downloadAddress, kOtherAddress);
  EXPECT_EQ(window_.texts[Control::编辑框_名称], other);
}

TEST_F(ResolveCommandTest, ARefusedConnectionEmptiesEverythingAndStillAppendsTheLines) {
  resolved_ = {"old address", "old reply", "old name", "1", "old md5"};
  window_.texts[Control::编辑框_名称] = "old name";
  const int closedPort = quorvane::testing::FreeLoopbackPort();
  Resolve(kShare + "1qYsAmpL", "http://127.0.0.1:" + std::to_string(closedPort) + "/baidu/?url=");

  EXPECT_EQ(resolved_.downloadAddress, "");
  EXPECT_EQ(resolved_.responseText, "");
  EXPECT_EQ(resolved_.fileName, "");
  EXPECT_EQ(resolved_.fileSize, "");
  EXPECT_EQ(resolved_.fileMd5, "");
  EXPECT_EQ(window_.appended[Control::编辑框_解析], Block("", "", "", ""));
  EXPECT_EQ(window_.texts[Control::编辑框_名称], "");
}

TEST_F(ResolveCommandTest, BrokenRepliesLeaveTheirFieldsEmpty) {
  for (const char* code : {"test-broken-empty", "test-broken-html", "test-broken-truncated",
                           "test-broken-drop", "no-such-link"}) {
    SCOPED_TRACE(code);
    window_ = RecordingWindow();
    resolved_ = {"old address", "old reply", "old name", "1", "old md5"};
    Resolve(kShare + code);
    EXPECT_EQ(resolved_.fileName, "");
    EXPECT_EQ(resolved_.fileSize, "");
    EXPECT_EQ(resolved_.fileMd5, "");
    EXPECT_EQ(resolved_.downloadAddress, "");
    EXPECT_EQ(window_.appended[Control::编辑框_解析], Block("", "", "", ""));
    EXPECT_EQ(window_.texts[Control::编辑框_名称], "");
  }
}

TEST_F(ResolveCommandTest, AnUndecodableNameLeavesTheOtherFields) {
  Resolve(kShare + "test-broken-name");
  EXPECT_EQ(resolved_.fileName, "");
  EXPECT_EQ(resolved_.fileSize, "2048");
  EXPECT_EQ(resolved_.fileMd5, kOtherMd5);
  EXPECT_EQ(resolved_.downloadAddress, kOtherAddress);
  EXPECT_EQ(window_.texts[Control::编辑框_名称], "");
}

TEST_F(ResolveCommandTest, TheNameBoxGetsANameThatStaysInTheFolder) {
  struct Case {
    std::string code;
    Text decoded;  // kept in the record and the result box
    Text nameBox;
  };
  const Case cases[] = {
      {"test-name-parent", "../../.profile", ".._.._.profile"},
      {"test-name-absolute", "/etc/x", "_etc_x"},
      {"test-name-backslash", "a\\b", "a_b"},
      {"test-name-dotdot", "..", ""},
      {"test-name-control", "a\tb\nc", "a_b_c"},
      {"test-name-trail-byte", Cp936FromUtf8("淺.txt"), Cp936FromUtf8("淺.txt")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    window_ = RecordingWindow();
    Resolve(kShare + c.code);
    EXPECT_EQ(resolved_.fileName, c.decoded);
    ASSERT_EQ(window_.appended[Control::编辑框_解析].size(), 4u);
    EXPECT_EQ(window_.appended[Control::编辑框_解析].front(),
              Cp936FromUtf8("\r\n文件名称：") + c.decoded + "\r\n");
    EXPECT_EQ(window_.texts[Control::编辑框_名称], c.nameBox);
  }
}

}  // namespace
}  // namespace quorvane
