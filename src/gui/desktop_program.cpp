#include "gui/desktop_program.h"

#include <wx/app.h>
#include <wx/init.h>

#include <cstdlib>
#include <memory>

#include "clipboard/clipboard_watcher.h"
#include "clipboard/copy_commands.h"
#include "download/download_command.h"
#include "download/steady_clock.h"
#include "gui/gtk_skin_engine.h"
#include "gui/keep_painted.h"
#include "gui/main_frame.h"
#include "gui/resources.h"
#include "gui/wx_clipboard.h"
#include "gui/wx_window_operations.h"
#include "net/curl_http_client.h"
#include "net/curl_http_request.h"
#include "resolve/resolve_command.h"
#include "shell/app_state.h"
#include "shell/site.h"
#include "shell/start_up.h"
#include "shell/user_folders.h"
#include "shell/window_template.h"

namespace quorvane {
namespace {

class DesktopApp : public wxApp {};

// Marks a handler that works for a while: the window stays painted, the watcher waits.
class BusyScope {
 public:
  explicit BusyScope(WxWindowOperations& window) : window_(window) { window_.SetBusy(true); }
  ~BusyScope() { window_.SetBusy(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  WxWindowOperations& window_;
};

class DesktopProgram : public StartUpPlatform {
 public:
  DesktopProgram(int argc, char** argv, const Text& resolverBase)
      : argc_(argc), argv_(argv), resolverBase_(resolverBase) {}
  ~DesktopProgram() override {
    if (started_) {
      wxEntryCleanup();
    }
  }
  DesktopProgram(const DesktopProgram&) = delete;
  DesktopProgram& operator=(const DesktopProgram&) = delete;

  GtkSkinEngine& skin() { return skin_; }

  void Start() override {
    wxApp::SetInstance(new DesktopApp);
    started_ = wxEntryStart(argc_, argv_);
    if (!started_) {
      std::exit(EXIT_FAILURE);
    }
  }

  void RegisterExitRoutine(void (*routine)()) override { std::atexit(routine); }

  void LoadMainWindow() override {
    frame_ = new MainFrame(MainWindowTemplate(DownloadFolder()), Handlers());
    window_ = std::make_unique<WxWindowOperations>(*frame_);
    watcher_ = std::make_unique<ClipboardWatcher>(clipboard_, *window_);
    skin_.SetMainWindow(frame_);
    wxTheApp->SetTopWindow(frame_);
    Created();
    frame_->Show();
  }

  void RunMessageLoop() override {
    wxTheApp->OnRun();
    wxTheApp->OnExit();
  }

 private:
  MainWindowHandlers Handlers() {
    return MainWindowHandlers{
        [this] { window_->OpenAddress(kFeedbackPage); },
        [this] {
          const BusyScope busy(*window_);
          CurlHttpClient client(KeepPainted);
          ResolveCommand(client, *window_, Globals().resolvedFile, resolverBase_);
        },
        [this] {
          const BusyScope busy(*window_);
          DownloadCommand(*window_, Globals().resolvedFile, *Globals().downloader);
        },
        [this] { CopyAddressCommand(clipboard_, *window_, Globals().resolvedFile); },
        [this] { CopyAllCommand(clipboard_, *window_); },
        [this] {
          // Ticks that fall due while a resolve or a download works wait for its end.
          if (!window_->Busy()) {
            watcher_->OnTick();
          }
        },
    };
  }

  void Created() {
    window_->SetTimerPeriod(Control::时钟3, 1000);
    skin_.SkinAdjustAero({210, 0, 0, 3, 0, 0, 0, 0, 0});
  }

  int argc_;
  char** argv_;
  Text resolverBase_;
  bool started_ = false;
  GtkSkinEngine skin_;
  WxClipboard clipboard_;
  MainFrame* frame_ = nullptr;  // owned by the toolkit, which deletes it when it closes
  std::unique_ptr<WxWindowOperations> window_;
  std::unique_ptr<ClipboardWatcher> watcher_;
};

}  // namespace

int RunDesktopProgram(int argc, char** argv, const Text& resolverBase) {
  DesktopProgram program(argc, argv, resolverBase);
  StartUpSettings settings;
  settings.createGlobals = [] {
    CreateDownloader([] { return std::make_shared<CurlHttpRequest>(KeepPainted); },
                     std::make_shared<SteadyClock>());
  };
  settings.exitRoutine = ReleaseGlobals;
  settings.skinFolder = SkinFolder();
  settings.skinFile = SkinFile();
  return StartUp(program, program.skin(), settings);
}

}  // namespace quorvane
