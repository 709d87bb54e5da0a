#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "gui/resources.h"
#include "support/child_process.h"
#include "support/nginx_fixture.h"
#include "x_server.h"

namespace quorvane {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::RunCommand;
using testing::XServer;

const std::string kSampleLink = "https://pan.baidu.com/s/1qYsAmpL";
const std::string kSampleName = "样例文件.bin";

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Polls `condition` every 100 ms until it holds or `limit` has passed.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(100ms);
  }
  return true;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty()) {
      lines.push_back(line);
    }
  }
  return lines;
}

// The visible top-level windows of the program under test.
std::vector<std::string> ProgramWindows() {
  return Lines(
      RunCommand({"xdotool", "search", "--onlyvisible", "--class", "quorvane_under_test"}));
}

struct Geometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

Geometry WindowGeometry(const std::string& window) {
  Geometry geometry;
  const std::string shell = RunCommand({"xdotool", "getwindowgeometry", "--shell", window});
  std::smatch match;
  for (const auto& [name, field] : {std::pair{"X", &geometry.x},
                                    {"Y", &geometry.y},
                                    {"WIDTH", &geometry.width},
                                    {"HEIGHT", &geometry.height}}) {
    if (std::regex_search(shell, match, std::regex(std::string("\\b") + name + "=(-?\\d+)"))) {
      *field = std::stoi(match[1]);
    }
  }
  return geometry;
}

// The real program under a virtual X server, with nginx serving the sample file and the
// stand-in resolving service answering on the port the program was built to ask.
class DesktopProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!x_.Started()) {
      GTEST_SKIP() << "no X server could be started: " << x_.Failure();
    }
    folder_ = testing::MakeTempFolder("quorvane-program");
    home_ = folder_ + "/home";
    // A desktop user's download folder exists; the program makes the "Taldrin" folder in it.
    std::filesystem::create_directories(home_ + "/Downloads");
    setenv("HOME", home_.c_str(), 1);
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_CONFIG_HOME");

    // Not a whole number of ranges, so the last range is a short one.
    std::filesystem::create_directories(folder_ + "/files");
    sample_ = folder_ + "/files/" + kSampleName;
    std::mt19937 random(7);
    std::string bytes(4 * 20480 + 1234, '\0');
    for (char& byte : bytes) {
      byte = static_cast<char>(random());
    }
    std::ofstream(sample_, std::ios::binary) << bytes;

    // Slowly enough for a person to watch the download's progress: about a range a second.
    nginx_.emplace(folder_ + "/files",
                   std::vector<std::string>{"location /slow/ { alias " + folder_ +
                                            "/files/; limit_rate 10k; }"});
    ASSERT_TRUE(nginx_->Ready()) << nginx_->ErrorLog();
    resolver_ =
        ChildProcess::Start({"python3", QUORVANE_TEST_SUPPORT_DIR "/stand_in_resolver.py", "--port",
                             std::to_string(TEST_RESOLVER_PORT), "--download-base",
                             nginx_->Url("slow/"), "--sample-file", sample_, "--lifetime", "600"},
                            ResolverLog());
    // The program asks a fixed port: another run of this test may hold it, and then ours ends.
    WaitUntil(
        [this] {
          return ReadWholeFile(ResolverLog()).find("stand-in resolver on") != std::string::npos ||
                 !resolver_.Running();
        },
        10s);
    ASSERT_TRUE(resolver_.Running() && testing::WaitForLoopbackPort(TEST_RESOLVER_PORT))
        << "the stand-in resolving service did not start on port " << TEST_RESOLVER_PORT
        << " (is another run of this test using it?): " << ReadWholeFile(ResolverLog());

    // The desktop's opener of web addresses, replaced by one that notes what it was given.
    std::filesystem::create_directories(folder_ + "/bin");
    std::ofstream(folder_ + "/bin/xdg-open")
        << "#!/bin/sh\necho \"$1\" >> '" << OpenedLog() << "'\n";
    std::filesystem::permissions(folder_ + "/bin/xdg-open", std::filesystem::perms::owner_all);
    setenv("PATH", (folder_ + "/bin:" + std::getenv("PATH")).c_str(), 1);

    program_ = ChildProcess::Start({PROGRAM_UNDER_TEST}, folder_ + "/program.log");
    ASSERT_TRUE(WaitUntil(
        [this] {
          for (const std::string& window : ProgramWindows()) {
            if (RunCommand({"xdotool", "getwindowname", window}) ==
                "QuorvaneV1.2 — quorvane.example\n") {
              window_ = window;
            }
          }
          return !window_.empty();
        },
        30s))
        << ReadWholeFile(folder_ + "/program.log");
    origin_ = WindowGeometry(window_);
  }

  void TearDown() override {
    clipboardOwners_.clear();
    program_.Stop();
    resolver_.Stop();
    nginx_.reset();
    if (!folder_.empty()) {
      std::error_code ignored;
      std::filesystem::remove_all(folder_, ignored);
    }
  }

  std::string ResolverLog() const { return folder_ + "/resolver.log"; }
  std::string OpenedLog() const { return folder_ + "/opened.log"; }

  // Share links the resolving service was asked for, in order.
  std::vector<std::string> Resolved() const {
    std::vector<std::string> links;
    for (const std::string& line : Lines(ReadWholeFile(ResolverLog()))) {
      static const std::string kRequest = "request /baidu/?url=";
      if (line.rfind(kRequest, 0) == 0) {
        links.push_back(line.substr(kRequest.size()));
      }
    }
    return links;
  }

  // A left click at a place of the tab control (its tab strip included).
  void ClickOnTabControl(int left, int top) {
    RunCommand({"xdotool", "mousemove", std::to_string(origin_.x + 7 + left),
                std::to_string(origin_.y + 136 + top), "click", "1"});
  }

  // Clicks a button and waits for the resolving service to be asked for `link`.
  void Resolve(const std::string& link) {
    const size_t before = Resolved().size();
    ClickOnTabControl(336 + 36, 32 + 12);
    ASSERT_TRUE(WaitUntil(
        [&] {
          const auto links = Resolved();
          return links.size() > before && links.back() == link;
        },
        10s))
        << ReadWholeFile(ResolverLog()) << ReadWholeFile(folder_ + "/program.log");
  }

  // Puts a text on the desktop's clipboard, as a browser would. The previous owner ends by
  // itself once it has lost the clipboard.
  void CopyToClipboard(const std::string& text) {
    const std::string offered = folder_ + "/offered" + std::to_string(clipboardOwners_.size());
    std::ofstream(offered, std::ios::binary) << text;
    clipboardOwners_.push_back(ChildProcess::Start(
        {"xclip", "-selection", "clipboard", "-quiet", offered}, folder_ + "/xclip.log"));
  }

  std::string ClipboardText() { return RunCommand({"xclip", "-selection", "clipboard", "-o"}); }

  // The program's message box once it shows, or the empty text after `limit`.
  std::string WaitForMessageBox(std::chrono::milliseconds limit) {
    std::string box;
    WaitUntil(
        [&] {
          for (const std::string& window : ProgramWindows()) {
            // Every caption of the program's message boxes ends with a full-width colon.
            const std::string name = RunCommand({"xdotool", "getwindowname", window});
            if (name.find("：") != std::string::npos) {
              box = window;
            }
          }
          return !box.empty();
        },
        limit);
    return box;
  }

  // Copies the message box's text, as a person would with Ctrl+C, then closes it with Enter.
  std::string ReadAndClose(const std::string& box) {
    if (box.empty()) {
      return "(no message box)";
    }
    // The box takes keys once it has the focus, which it may not have at once.
    const std::string before = ClipboardText();
    std::string message = before;
    for (int attempt = 0; attempt < 10 && message == before; ++attempt) {
      RunCommand({"xdotool", "windowfocus", "--sync", box});
      RunCommand({"xdotool", "key", "--clearmodifiers", "ctrl+c"});
      WaitUntil(
          [&] {
            message = ClipboardText();
            return message != before;
          },
          1s);
    }
    RunCommand({"xdotool", "key", "Return"});
    WaitUntil(
        [&] {
          const auto windows = ProgramWindows();
          return std::find(windows.begin(), windows.end(), box) == windows.end();
        },
        5s);
    return message;
  }

  // The pixels of the progress text and bar as the screen shows them.
  std::string CaptureProgressDisplay() {
    const std::string picture = folder_ + "/progress.rgb";
    RunCommand({"import", "-window", "root", "-crop",
                "369x104+" + std::to_string(origin_.x + 7 + 23) + "+" +
                    std::to_string(origin_.y + 136 + 128),
                "rgb:" + picture});
    return ReadWholeFile(picture);
  }

  XServer x_;
  std::string folder_;
  std::string home_;
  std::string sample_;
  std::optional<testing::NginxFixture> nginx_;
  ChildProcess resolver_;
  ChildProcess program_;
  std::vector<ChildProcess> clipboardOwners_;
  std::string window_;
  Geometry origin_;
};

TEST_F(DesktopProgramTest, ResolvesALinkFromTheClipboardAndDownloadsIt) {
  EXPECT_EQ(origin_.width, 437);
  EXPECT_EQ(origin_.height, 478);
  EXPECT_EQ(origin_.x, (1024 - 437) / 2);
  EXPECT_EQ(origin_.y, (768 - 478) / 2);
  EXPECT_EQ(ReadWholeFile(home_ + "/.local/share/quorvane/quorvane.skin"), SkinFile());

  // The first page is current and its address box holds the sample link.
  Resolve(kSampleLink);

  // A link copied anywhere reaches the address box within about a second.
  CopyToClipboard("https://pan.baidu.com/s/test-other-order");
  std::this_thread::sleep_for(1500ms);
  Resolve("https://pan.baidu.com/s/test-other-order");

  CopyToClipboard(kSampleLink);
  std::this_thread::sleep_for(1500ms);
  Resolve(kSampleLink);

  // Copy-all puts the result box on the clipboard: the latest block names the sample file.
  ClickOnTabControl(8 + 40, 289 + 10);
  const std::string confirmation = WaitForMessageBox(10s);
  const std::string results = ClipboardText();
  EXPECT_EQ(ReadAndClose(confirmation), "复制成功！感谢您的支持");
  const std::size_t size = std::filesystem::file_size(sample_);
  const std::size_t lastBlock = results.rfind("\r\n\r\n文件名称：");
  ASSERT_NE(lastBlock, std::string::npos) << results;
  EXPECT_EQ(results.find("\r\n\r\n文件名称：" + kSampleName + "\r\n", lastBlock), lastBlock);
  const std::string block = results.substr(lastBlock);
  EXPECT_NE(block.find("\r\n文件尺寸：" + std::to_string(size) + "\r\n"), std::string::npos);
  EXPECT_TRUE(std::regex_search(block, std::regex("\r\n文件 MD5：[0-9a-f]{32}\r\n")));
  EXPECT_NE(block.find("\r\n文件地址：" + nginx_->Url("slow/")), std::string::npos);

  // On the download page, the download button fetches the file into the initial folder. The
  // window shows the progress as it goes, and a click made meanwhile does not reach it.
  ClickOnTabControl(118, 13);
  std::this_thread::sleep_for(500ms);
  const std::string idle = CaptureProgressDisplay();
  ClickOnTabControl(96 + 112, 247 + 20);
  std::string early;
  EXPECT_TRUE(WaitUntil(
      [&] {
        early = CaptureProgressDisplay();
        return early != idle;
      },
      10s));
  // A second click on the button and an Enter on it: neither may act now or later.
  ClickOnTabControl(96 + 112, 247 + 20);
  RunCommand({"xdotool", "key", "Return"});
  std::string later;
  EXPECT_TRUE(WaitUntil(
      [&] {
        later = CaptureProgressDisplay();
        return later != early;
      },
      10s));
  // Both were painted while the download ran: its closing message had not shown yet.
  EXPECT_EQ(WaitForMessageBox(0ms), "");
  EXPECT_EQ(ReadAndClose(WaitForMessageBox(60s)), "下载完毕");
  const std::size_t requests = nginx_->AccessLogLines().size();
  EXPECT_EQ(WaitForMessageBox(2500ms), "");
  EXPECT_EQ(nginx_->AccessLogLines().size(), requests);

  const std::string downloaded = home_ + "/Downloads/Taldrin/" + kSampleName;
  EXPECT_EQ(std::filesystem::file_size(downloaded), size);
  EXPECT_TRUE(ReadWholeFile(downloaded) == ReadWholeFile(sample_));

  // The banner and the feedback link (back on the first page) open the same page with the
  // desktop's browser.
  ClickOnTabControl(43, 13);
  std::this_thread::sleep_for(500ms);
  RunCommand({"xdotool", "mousemove", std::to_string(origin_.x + 200),
              std::to_string(origin_.y + 60), "click", "1"});
  ClickOnTabControl(310 + 49, 292 + 8);
  EXPECT_TRUE(WaitUntil([&] { return Lines(ReadWholeFile(OpenedLog())).size() == 2; }, 10s));
  EXPECT_EQ(Lines(ReadWholeFile(OpenedLog())),
            (std::vector<std::string>{"https://quorvane.example/feedback",
                                      "https://quorvane.example/feedback"}));

  // Closing the window ends the program normally, its global state released on the way out.
  ASSERT_TRUE(testing::RequestClose(window_));
  const int status = program_.Wait(30s);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << status << ReadWholeFile(folder_ + "/program.log");
}

}  // namespace
}  // namespace quorvane
