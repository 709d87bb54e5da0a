#include "gui/wx_window_operations.h"

#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/dialog.h>
#include <wx/gauge.h>
#include <wx/log.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <algorithm>

#include "gui/keep_painted.h"
#include "gui/main_frame.h"
#include "text/code_page.h"

namespace quorvane {
namespace {

wxString ToWx(const Text& text) {
  return wxString::FromUTF8(Utf8FromCp936(text));
}

Text FromWx(const wxString& text) {
  const wxScopedCharBuffer utf8 = text.utf8_str();
  return Cp936FromUtf8(std::string_view(utf8.data(), utf8.length()));
}

// A message box of one OK button and no icon, whose text can be copied with Ctrl+C as
// desktop message boxes allow.
class MessageBoxDialog : public wxDialog {
 public:
  MessageBoxDialog(const wxString& message, const wxString& caption)
      : wxDialog(nullptr, wxID_ANY, caption), message_(message) {
    auto* text = new wxStaticText(this, wxID_ANY, wxString());
    text->SetLabelText(message);
    auto* layout = new wxBoxSizer(wxVERTICAL);
    layout->Add(text, 0, wxALL, 16);
    layout->Add(CreateSeparatedButtonSizer(wxOK), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizerAndFit(layout);
    Centre();
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
      if (event.GetModifiers() == wxMOD_CONTROL && event.GetKeyCode() == 'C') {
        if (!wxTheClipboard->IsOpened() && wxTheClipboard->Open()) {
          wxTheClipboard->SetData(new wxTextDataObject(message_));
          wxTheClipboard->Close();
        }
        return;
      }
      event.Skip();
    });
  }

 private:
  wxString message_;
};

}  // namespace

Text WxWindowOperations::GetText(Control control) {
  wxWindow* widget = frame_.Widget(control);
  if (auto* box = dynamic_cast<wxTextCtrl*>(widget)) {
    return FromWx(box->GetValue());
  }
  if (auto* label = dynamic_cast<wxStaticText*>(widget)) {
    return FromWx(label->GetLabelText());
  }
  return widget == nullptr ? Text() : FromWx(widget->GetLabel());
}

void WxWindowOperations::SetText(Control control, const Text& text) {
  wxWindow* widget = frame_.Widget(control);
  if (auto* box = dynamic_cast<wxTextCtrl*>(widget)) {
    box->ChangeValue(ToWx(text));
  } else if (auto* label = dynamic_cast<wxStaticText*>(widget)) {
    label->SetLabelText(ToWx(text));
  } else if (widget != nullptr) {
    widget->SetLabel(ToWx(text));
  }
  RepaintWhileBusy();
}

void WxWindowOperations::SetTimerPeriod(Control timer, int milliseconds) {
  wxTimer* clock = frame_.Timer(timer);
  if (clock == nullptr) {
    return;
  }
  const int period = std::max(milliseconds, 0);
  const int current = clock->IsRunning() ? clock->GetInterval() : 0;
  if (period == current) {
    return;
  }
  clock->Stop();
  if (period > 0) {
    clock->Start(period);
  }
}

void WxWindowOperations::SetProgressPosition(Control bar, int position) {
  if (auto* gauge = dynamic_cast<wxGauge*>(frame_.Widget(bar))) {
    gauge->SetValue(std::clamp(position, 0, gauge->GetRange()));
  }
  RepaintWhileBusy();
}

void WxWindowOperations::ShowWindow() {
  if (!frame_.IsShown()) {
    frame_.Show();
  }
}

void WxWindowOperations::AppendText(Control editBox, const Text& text) {
  if (auto* box = dynamic_cast<wxTextCtrl*>(frame_.Widget(editBox))) {
    box->SetInsertionPointEnd();
    box->WriteText(ToWx(text));
    box->ShowPosition(box->GetLastPosition());
  }
}

int WxWindowOperations::MessageBoxWithTitle(const Text& message, int /*buttons*/,
                                            const Text& title) {
  // The box runs its own loop: the window is painted and the watcher's ticks arrive there.
  const bool wasBusy = busy_;
  busy_ = false;
  MessageBoxDialog box(ToWx(message), ToWx(title));
  const int result = box.ShowModal();
  busy_ = wasBusy;
  return result;
}

int WxWindowOperations::MessageBox(const Text& message, int buttons) {
  static const Text kDefaultCaption = Cp936FromUtf8("信息：");
  return MessageBoxWithTitle(message, buttons, kDefaultCaption);
}

void WxWindowOperations::OpenAddress(const Text& address) {
  const wxLogNull quiet;
  wxLaunchDefaultBrowser(ToWx(address));
}

void WxWindowOperations::RepaintWhileBusy() {
  if (!busy_) {
    return;
  }
  // A fast transfer sets the display hundreds of times a second; painting it about as often
  // as the screen can show keeps the transfer fast.
  const auto now = std::chrono::steady_clock::now();
  if (now - lastRepaint_ < std::chrono::milliseconds(40)) {
    return;
  }
  lastRepaint_ = now;
  KeepPainted();
}

}  // namespace quorvane
