#include "gui/wx_clipboard.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include "text/code_page.h"

namespace quorvane {

Text WxClipboard::GetText() {
  if (reading_ || wxTheClipboard->IsOpened()) {
    return {};
  }
  reading_ = true;
  Text text;
  if (wxTheClipboard->Open()) {
    if (wxTheClipboard->IsSupported(wxDF_UNICODETEXT)) {
      wxTextDataObject data;
      if (wxTheClipboard->GetData(data)) {
        // The converted bytes live inside the string they came from.
        const wxString shown = data.GetText();
        const wxScopedCharBuffer utf8 = shown.utf8_str();
        text = Cp936FromUtf8(std::string_view(utf8.data(), utf8.length()));
      }
    }
    wxTheClipboard->Close();
  }
  reading_ = false;
  // A text never holds a zero byte: it ends at the first one.
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
