#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/evtloop.h>
#include <wx/gauge.h>
#include <wx/generic/statbmpg.h>
#include <wx/hyperlink.h>
#include <wx/init.h>
#include <wx/notebook.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/webview.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

#include "gui/gtk_skin_engine.h"
#include "gui/main_frame.h"
#include "gui/resources.h"
#include "gui/wx_clipboard.h"
#include "gui/wx_window_operations.h"
#include "shell/deploy_skin.h"
#include "shell/window_template.h"
#include "text/code_page.h"
#include "x_server.h"

namespace quorvane {
namespace {

using testing::XServer;

const std::string kDownloadFolder = "/tmp/下载/Taldrin/";

// One skinned main window on a virtual X server, shared by the tests of this suite.
class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = new XServer;
    if (!server_->Started()) {
      return;
    }
    static int argc = 1;
    static char name[] = "gui_tests";
    static char* argv[] = {name, nullptr};
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
      return;
    }
    loop_ = new wxGUIEventLoop;
    wxEventLoopBase::SetActive(loop_);
    skinFolder_ = testing::MakeTempFolder("quorvane-skin");
    DeploySkin(skin_, skinFolder_, SkinFile());
    frame_ = new MainFrame(MainWindowTemplate(kDownloadFolder), MainWindowHandlers{});
    frame_->Show();
    Pump(std::chrono::milliseconds(1500));
  }

  static void TearDownTestSuite() {
    if (frame_ != nullptr) {
      frame_->Destroy();
      Pump(std::chrono::milliseconds(200));
      wxEventLoopBase::SetActive(nullptr);
      delete loop_;
      wxEntryCleanup();
    }
    delete server_;
    std::filesystem::remove_all(skinFolder_);
  }

  void SetUp() override {
    if (frame_ == nullptr) {
      GTEST_SKIP() << "no X server could be started: " << server_->Failure();
    }
  }

  // Lets the toolkit lay out, paint and answer the clipboard for a while.
  static void Pump(std::chrono::milliseconds period) {
    const auto end = std::chrono::steady_clock::now() + period;
    while (std::chrono::steady_clock::now() < end) {
      loop_->YieldFor(wxEVT_CATEGORY_ALL);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  static inline XServer* server_ = nullptr;
  static inline wxGUIEventLoop* loop_ = nullptr;
  static inline GtkSkinEngine skin_;
  static inline std::string skinFolder_;
  static inline MainFrame* frame_ = nullptr;
};

bool HasKind(wxWindow* widget, ControlKind kind) {
  switch (kind) {
    case ControlKind::EditBox:
      return dynamic_cast<wxTextCtrl*>(widget) != nullptr;
    case ControlKind::Button:
      return dynamic_cast<wxButton*>(widget) != nullptr;
    case ControlKind::Label:
    case ControlKind::TransLabel:
      return dynamic_cast<wxStaticText*>(widget) != nullptr;
    case ControlKind::PicBox:
      return dynamic_cast<wxGenericStaticBitmap*>(widget) != nullptr;
    case ControlKind::ProcessBar:
      return dynamic_cast<wxGauge*>(widget) != nullptr;
    case ControlKind::Tab:
      return dynamic_cast<wxNotebook*>(widget) != nullptr;
    case ControlKind::HyperLinker:
      return dynamic_cast<wxHyperlinkCtrl*>(widget) != nullptr;
    case ControlKind::HtmlViewer:
      // Without a web engine the page's address is shown as text instead.
      return dynamic_cast<wxWebView*>(widget) != nullptr ||
             dynamic_cast<wxStaticText*>(widget) != nullptr;
    case ControlKind::Timer:
      return widget == nullptr;
  }
  return false;
}

std::string Utf8(const wxString& text) {
  return std::string(text.utf8_str());
}

std::string ShownText(wxWindow* widget) {
  if (auto* box = dynamic_cast<wxTextCtrl*>(widget)) {
    return Utf8(box->GetValue());
  }
  if (auto* label = dynamic_cast<wxStaticText*>(widget)) {
    return Utf8(label->GetLabelText());
  }
  return Utf8(widget->GetLabel());
}

TEST_F(MainWindowTest, WindowIsCentredFixedAndOnItsFirstPage) {
  EXPECT_EQ(Utf8(frame_->GetTitle()), "QuorvaneV1.2 — quorvane.example");
  EXPECT_EQ(frame_->GetSize(), wxSize(437, 478));
  EXPECT_EQ(frame_->GetScreenPosition(), wxPoint((1024 - 437) / 2, (768 - 478) / 2));
  EXPECT_TRUE(frame_->HasFlag(wxMINIMIZE_BOX));
  EXPECT_TRUE(frame_->HasFlag(wxCLOSE_BOX));
  EXPECT_FALSE(frame_->HasFlag(wxMAXIMIZE_BOX));
  EXPECT_FALSE(frame_->HasFlag(wxRESIZE_BORDER));

  auto* notebook = dynamic_cast<wxNotebook*>(frame_->Widget(Control::选择夹1));
  ASSERT_NE(notebook, nullptr);
  ASSERT_EQ(notebook->GetPageCount(), 3u);
  EXPECT_EQ(Utf8(notebook->GetPageText(0)), "解析中心");
  EXPECT_EQ(Utf8(notebook->GetPageText(1)), "下载中心");
  EXPECT_EQ(Utf8(notebook->GetPageText(2)), "关于作者");
  EXPECT_EQ(notebook->GetSelection(), 0);
}

// Every control has its kind, page, place, size and text, and the skin keeps each widget's
// smallest size within its box, so nothing is cut off or pushed over a neighbour.
TEST_F(MainWindowTest, EveryControlIsWhereTheTemplatePutsIt) {
  const WindowTemplate layout = MainWindowTemplate(kDownloadFolder);
  auto* notebook = dynamic_cast<wxNotebook*>(frame_->Widget(Control::选择夹1));
  ASSERT_NE(notebook, nullptr);
  const wxPoint clientOrigin = notebook->GetParent()->GetScreenPosition();
  for (int page = 2; page >= 0; --page) {
    // A page's controls have a place on the screen only while it is the current one.
    notebook->SetSelection(static_cast<size_t>(page));
    Pump(std::chrono::milliseconds(300));
    for (const ControlTemplate& item : layout.controls) {
      if (item.page != page && !(page == 0 && item.page == kWindowPage)) {
        continue;
      }
      SCOPED_TRACE(item.name);
      wxWindow* widget = frame_->Widget(item.control);
      EXPECT_TRUE(HasKind(widget, item.kind));
      if (item.kind == ControlKind::Timer) {
        ASSERT_NE(frame_->Timer(item.control), nullptr);
        EXPECT_FALSE(frame_->Timer(item.control)->IsRunning());
        continue;
      }
      ASSERT_NE(widget, nullptr);
      const bool onPage = item.page != kWindowPage;
      if (onPage) {
        EXPECT_EQ(widget->GetParent(), notebook->GetPage(static_cast<size_t>(item.page)));
      }
      EXPECT_TRUE(widget->IsShownOnScreen());
      const wxPoint origin = onPage ? notebook->GetScreenPosition() : clientOrigin;
      EXPECT_EQ(widget->GetScreenPosition() - origin, wxPoint(item.left, item.top));
      GtkWidget* native = static_cast<GtkWidget*>(widget->GetHandle());
      GtkAllocation given;
      gtk_widget_get_allocation(native, &given);
      EXPECT_EQ(given.width, item.width);
      EXPECT_EQ(given.height, item.height);
      GtkRequisition smallest;
      gtk_widget_get_preferred_size(native, &smallest, nullptr);
      EXPECT_LE(smallest.width, item.width);
      EXPECT_LE(smallest.height, item.height);
      if (item.kind == ControlKind::EditBox || item.kind == ControlKind::Button ||
          item.kind == ControlKind::Label || item.kind == ControlKind::TransLabel) {
        EXPECT_EQ(ShownText(widget), item.text);
      }
      if (auto* box = dynamic_cast<wxTextCtrl*>(widget)) {
        EXPECT_EQ(box->IsMultiLine(), item.multiLine);
        EXPECT_TRUE(box->IsEditable());
      }
    }
  }
  EXPECT_EQ(notebook->GetSelection(), 0);
  auto* link = dynamic_cast<wxHyperlinkCtrl*>(frame_->Widget(Control::超级链接框1));
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(Utf8(link->GetLabel()), "反馈&&建议");
  EXPECT_EQ(Utf8(link->GetURL()), "https://quorvane.example/feedback");
  EXPECT_EQ(ShownText(frame_->Widget(Control::编辑框_地址)), "https://pan.baidu.com/s/1qYsAmpL");
  EXPECT_EQ(ShownText(frame_->Widget(Control::编辑框_路径)), kDownloadFolder);
}

TEST_F(MainWindowTest, SkinIsAStyleSheetTheToolkitReadsWithoutError) {
  GtkCssProvider* provider = gtk_css_provider_new();
  int errors = 0;
  g_signal_connect(provider, "parsing-error",
                   G_CALLBACK(+[](GtkCssProvider*, GtkCssSection*, GError*, gpointer count) {
                     ++*static_cast<int*>(count);
                   }),
                   &errors);
  const std::string_view skin = SkinFile();
  EXPECT_TRUE(gtk_css_provider_load_from_data(provider, skin.data(),
                                              static_cast<gssize>(skin.size()), nullptr));
  EXPECT_EQ(errors, 0);
  g_object_unref(provider);
}

TEST_F(MainWindowTest, WindowOperationsConvertAndKeepTheControlsRules) {
  WxWindowOperations window(*frame_);
  const Text name = Cp936FromUtf8("样例文件 (1).bin");
  window.SetText(Control::编辑框_名称, name);
  EXPECT_EQ(window.GetText(Control::编辑框_名称), name);

  window.SetText(Control::编辑框_解析, Text());
  window.AppendText(Control::编辑框_解析, Cp936FromUtf8("\r\n文件名称：a\r\n"));
  window.AppendText(Control::编辑框_解析, Cp936FromUtf8("\r\n文件尺寸：1\r\n"));
  EXPECT_EQ(window.GetText(Control::编辑框_解析),
            Cp936FromUtf8("\r\n文件名称：a\r\n\r\n文件尺寸：1\r\n"));

  auto* bar = dynamic_cast<wxGauge*>(frame_->Widget(Control::进度条1));
  ASSERT_NE(bar, nullptr);
  for (const auto& [position, shown] : {std::pair{40, 40}, {100, 100}, {150, 100}, {-5, 0}}) {
    window.SetProgressPosition(Control::进度条1, position);
    EXPECT_EQ(bar->GetValue(), shown) << position;
  }

  wxTimer* timer = frame_->Timer(Control::时钟3);
  window.SetTimerPeriod(Control::时钟3, 1000);
  EXPECT_TRUE(timer->IsRunning());
  EXPECT_EQ(timer->GetInterval(), 1000);
  window.SetTimerPeriod(Control::时钟3, -20);
  EXPECT_FALSE(timer->IsRunning());
}

// The desktop sees UTF-8; inside, texts are code page 936.
TEST_F(MainWindowTest, ClipboardCarriesChineseTextBothWays) {
  WxClipboard clipboard;
  const std::string shared = "分享文件：https://pan.baidu.com/s/1qYsAmpL 提取码：ab12";
  ASSERT_TRUE(clipboard.SetText(Cp936FromUtf8(shared)));
  const std::string folder = testing::MakeTempFolder("quorvane-clip");
  const std::string read = folder + "/read";
  testing::ChildProcess xclip =
      testing::ChildProcess::Start({"xclip", "-selection", "clipboard", "-o"}, read);
  // The program owns the clipboard: it must answer while xclip asks.
  for (int i = 0; i < 500 && xclip.Running(); ++i) {
    Pump(std::chrono::milliseconds(10));
  }
  std::ifstream file(read);
  const std::string seen((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_EQ(seen, shared);

  const std::string offered = folder + "/offered";
  std::ofstream(offered) << "链接 https://pan.baidu.com/s/test-other-order";
  testing::ChildProcess owner = testing::ChildProcess::Start(
      {"xclip", "-selection", "clipboard", "-quiet", offered}, folder + "/owner.log");
  Text taken;
  for (int i = 0; i < 100 && taken.empty(); ++i) {
    Pump(std::chrono::milliseconds(50));
    taken = clipboard.GetText();
  }
  EXPECT_EQ(taken, Cp936FromUtf8("链接 https://pan.baidu.com/s/test-other-order"));
  owner.Stop();
  std::filesystem::remove_all(folder);
}

// An owner that never answers counts as a clipboard held by another program: the read gives
// up instead of freezing the window.
TEST_F(MainWindowTest, ClipboardReadGivesUpOnAStuckOwner) {
  const std::string folder = testing::MakeTempFolder("quorvane-clip");
  std::ofstream(folder + "/offered") << "https://pan.baidu.com/s/1qYsAmpL";
  testing::ChildProcess owner = testing::ChildProcess::Start(
      {"xclip", "-selection", "clipboard", "-quiet", folder + "/offered"}, folder + "/owner.log");
  WxClipboard clipboard;
  Text taken;
  for (int i = 0; i < 100 && taken.empty(); ++i) {
    Pump(std::chrono::milliseconds(50));
    taken = clipboard.GetText();
  }
  ASSERT_EQ(taken, "https://pan.baidu.com/s/1qYsAmpL");

  owner.Signal(SIGSTOP);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(clipboard.GetText(), Text());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  owner.Signal(SIGCONT);
  owner.Stop();
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quorvane
