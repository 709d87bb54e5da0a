#include "gui/wx_clipboard.h"

#include <gtk/gtk.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/evtloop.h>

#include <chrono>
#include <memory>
#include <string>

#include "text/code_page.h"

namespace quorvane {
namespace {

// The desktop may take longer than this only when the clipboard's owner is stuck or gone;
// the read then counts as a clipboard held by another program.
constexpr std::chrono::milliseconds kReadLimit(500);

struct TextRequest {
  bool answered = false;
  std::string utf8;
};

// Owns a reference to the request, which outlives a read that gave up waiting.
void ReceiveText(GtkClipboard* /*clipboard*/, const gchar* text, gpointer data) {
  const std::unique_ptr<std::shared_ptr<TextRequest>> holder(
      static_cast<std::shared_ptr<TextRequest>*>(data));
  (*holder)->answered = true;
  if (text != nullptr) {
    (*holder)->utf8 = text;
  }
}

}  // namespace

Text WxClipboard::GetText() {
  wxEventLoopBase* loop = wxEventLoopBase::GetActive();
  if (reading_ || loop == nullptr || wxTheClipboard->IsOpened()) {
    return {};
  }
  reading_ = true;
  auto request = std::make_shared<TextRequest>();
  gtk_clipboard_request_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), ReceiveText,
                             new std::shared_ptr<TextRequest>(request));
  // Only the clipboard's own events are handled meanwhile: no click or key reaches the window.
  const auto deadline = std::chrono::steady_clock::now() + kReadLimit;
  while (!request->answered && std::chrono::steady_clock::now() < deadline) {
    loop->YieldFor(wxEVT_CATEGORY_CLIPBOARD);
    if (!request->answered) {
      g_usleep(1000);
    }
  }
  reading_ = false;
  if (!request->answered) {
    return {};
  }
  // A text never holds a zero byte: it ends at the first one.
  const Text text = Cp936FromUtf8(request->utf8);
  return text.substr(0, text.find('\0'));
}

bool WxClipboard::SetText(const Text& text) {
  if (wxTheClipboard->IsOpened() || !wxTheClipboard->Open()) {
    return false;
  }
  const bool set =
      wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8(Utf8FromCp936(text))));
  wxTheClipboard->Close();
  return set;
}

}  // namespace quorvane
