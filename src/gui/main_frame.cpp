#include "gui/main_frame.h"

#include <gtk/gtk.h>
#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/generic/statbmpg.h>
#include <wx/hyperlink.h>
#include <wx/image.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/webview.h>

#include <utility>

#include "gui/jpeg_picture.h"
#include "gui/resources.h"

namespace quorvane {
namespace {

constexpr long kFixedBorder = wxCAPTION | wxCLOSE_BOX | wxMINIMIZE_BOX | wxSYSTEM_MENU;

wxString FromUtf8(const std::string& text) {
  return wxString::FromUTF8(text.c_str());
}

wxBitmap BannerBitmap(const wxSize& size) {
  const RgbPicture picture = DecodeJpeg(BannerJpeg());
  if (picture.rgb.empty()) {
    return wxBitmap();
  }
  // The image borrows the decoded pixels; scaling makes the copy that the bitmap keeps.
  wxImage image(picture.width, picture.height, const_cast<unsigned char*>(picture.rgb.data()),
                /*static_data=*/true);
  return wxBitmap(image.Scale(size.GetWidth(), size.GetHeight(), wxIMAGE_QUALITY_HIGH));
}

// The result box shows no scroll bars, yet its text still scrolls to follow the caret.
void HideScrollBars(wxTextCtrl* box) {
  GtkWidget* scrolled = static_cast<GtkWidget*>(box->GetHandle());
  if (GTK_IS_SCROLLED_WINDOW(scrolled)) {
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_NEVER,
                                   GTK_POLICY_EXTERNAL);
  }
}

// A "&" in a link's label would otherwise mark a mnemonic.
wxString LiteralLabel(const std::string& text) {
  wxString label = FromUtf8(text);
  label.Replace("&", "&&");
  return label;
}

}  // namespace

MainFrame::MainFrame(const WindowTemplate& layout, MainWindowHandlers handlers)
    : wxFrame(nullptr, wxID_ANY, FromUtf8(layout.title), wxDefaultPosition,
              wxSize(layout.outerWidth, layout.outerHeight), kFixedBorder),
      handlers_(std::move(handlers)) {
  auto* client = new wxPanel(this);
  for (const ControlTemplate& item : layout.controls) {
    if (item.kind == ControlKind::Tab) {
      notebook_ = new wxNotebook(client, wxID_ANY, wxPoint(item.left, item.top),
                                 wxSize(item.width, item.height));
      notebook_->SetName(FromUtf8(item.name));
      widgets_[item.control] = notebook_;
      for (const char* title : layout.pageTitles) {
        notebook_->AddPage(new wxPanel(notebook_), FromUtf8(title));
      }
      notebook_->SetSelection(0);
    }
  }
  for (const ControlTemplate& item : layout.controls) {
    if (item.kind != ControlKind::Tab) {
      CreateControl(item);
    }
  }
  // Page controls are placed relative to the tab control, its tab strip included; where the
  // pages start inside it is known once the toolkit has laid the tab control out, which it
  // does before the window first shows.
  g_signal_connect_after(notebook_->GetHandle(), "size-allocate",
                         G_CALLBACK(+[](GtkWidget*, GdkRectangle*, gpointer frame) {
                           static_cast<MainFrame*>(frame)->PlacePageControls();
                         }),
                         this);
  SetSize(layout.outerWidth, layout.outerHeight);
  Centre(wxBOTH);
}

wxWindow* MainFrame::Widget(Control control) const {
  const auto found = widgets_.find(control);
  return found == widgets_.end() ? nullptr : found->second;
}

wxTimer* MainFrame::Timer(Control control) const {
  const auto found = timers_.find(control);
  return found == timers_.end() ? nullptr : found->second.get();
}

void MainFrame::CreateControl(const ControlTemplate& item) {
  wxWindow* parent =
      item.page == kWindowPage ? notebook_->GetParent() : notebook_->GetPage(item.page);
  const wxPoint position(item.left, item.top);
  const wxSize size(item.width, item.height);
  const wxString text = FromUtf8(item.text);
  wxWindow* widget = nullptr;
  switch (item.kind) {
    case ControlKind::EditBox: {
      auto* box = new wxTextCtrl(
          parent, wxID_ANY, text, position, size,
          // Lines break at words, and inside a word longer than the box (a long address).
          item.multiLine ? wxTE_MULTILINE | wxTE_BESTWRAP : 0);
      if (item.multiLine) {
        HideScrollBars(box);
      }
      widget = box;
      break;
    }
    case ControlKind::Button: {
      auto* button = new wxButton(parent, wxID_ANY, text, position, size);
      std::function<void()>* handler = nullptr;
      if (item.control == Control::按钮1) {
        handler = &handlers_.resolveClicked;
      } else if (item.control == Control::下载) {
        handler = &handlers_.downloadClicked;
      } else if (item.control == Control::一键复制) {
        handler = &handlers_.copyAllClicked;
      } else if (item.control == Control::一键地址) {
        handler = &handlers_.copyAddressClicked;
      }
      if (handler != nullptr) {
        button->Bind(wxEVT_BUTTON, [handler](wxCommandEvent&) {
          if (*handler) {
            (*handler)();
          }
        });
      }
      widget = button;
      break;
    }
    case ControlKind::Label:
    case ControlKind::TransLabel: {
      auto* label =
          new wxStaticText(parent, wxID_ANY, wxString(), position, size, wxST_NO_AUTORESIZE);
      label->SetLabelText(text);
      GtkLabel* gtkLabel = GTK_LABEL(label->GetHandle());
      if (item.control == Control::透明标签1) {
        // The progress text's lines each stay one line, a long path shortened in its middle,
        // so that size, percentage and speed always show.
        gtk_label_set_ellipsize(gtkLabel, PANGO_ELLIPSIZE_MIDDLE);
      } else {
        // Like the desktop's static texts, a text longer than its box goes on in a new line.
        gtk_label_set_line_wrap(gtkLabel, TRUE);
        gtk_label_set_line_wrap_mode(gtkLabel, PANGO_WRAP_WORD_CHAR);
      }
      widget = label;
      break;
    }
    case ControlKind::PicBox: {
      auto* picture =
          new wxGenericStaticBitmap(parent, wxID_ANY, BannerBitmap(size), position, size);
      picture->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent&) {
        if (handlers_.bannerClicked) {
          handlers_.bannerClicked();
        }
      });
      widget = picture;
      break;
    }
    case ControlKind::ProcessBar: {
      auto* bar = new wxGauge(parent, wxID_ANY, 100, position, size, wxGA_HORIZONTAL | wxGA_SMOOTH);
      bar->SetValue(0);
      widget = bar;
      break;
    }
    case ControlKind::HyperLinker: {
      auto* link =
          new wxHyperlinkCtrl(parent, wxID_ANY, LiteralLabel(item.text), FromUtf8(item.target),
                              position, size, wxHL_ALIGN_LEFT | wxNO_BORDER);
      // Opened like the banner's address, so that a failure passes silently.
      link->Bind(wxEVT_HYPERLINK, [this](wxHyperlinkEvent&) {
        if (handlers_.bannerClicked) {
          handlers_.bannerClicked();
        }
      });
      widget = link;
      break;
    }
    case ControlKind::HtmlViewer:
      if (wxWebView::IsBackendAvailable(wxWebViewBackendDefault)) {
        widget = wxWebView::New(parent, wxID_ANY, text, position, size);
      } else {
        auto* note = new wxStaticText(parent, wxID_ANY, wxString(), position, size);
        note->SetLabelText(text);
        widget = note;
      }
      break;
    case ControlKind::Timer: {
      auto timer = std::make_unique<wxTimer>(this);
      if (item.control == Control::时钟3) {
        Bind(
            wxEVT_TIMER,
            [this](wxTimerEvent&) {
              if (handlers_.watcherTick) {
                handlers_.watcherTick();
              }
            },
            timer->GetId());
      }
      timers_[item.control] = std::move(timer);
      return;
    }
    case ControlKind::Tab:
      return;
  }
  widget->SetName(FromUtf8(item.name));
  // The skin may style a control by its name.
  gtk_widget_set_name(static_cast<GtkWidget*>(widget->GetHandle()), item.name);
  widgets_[item.control] = widget;
  if (item.page != kWindowPage) {
    pageControls_.push_back(item);
  }
}

void MainFrame::PlacePageControls() {
  // Every page starts where the current one does; a hidden page has no place of its own yet.
  GtkAllocation tabControl;
  GtkAllocation page;
  gtk_widget_get_allocation(static_cast<GtkWidget*>(notebook_->GetHandle()), &tabControl);
  gtk_widget_get_allocation(static_cast<GtkWidget*>(notebook_->GetCurrentPage()->GetHandle()),
                            &page);
  const wxPoint offset(page.x - tabControl.x, page.y - tabControl.y);
  if (page.width <= 1 || offset == placedAt_) {
    return;
  }
  placedAt_ = offset;
  for (const ControlTemplate& item : pageControls_) {
    Widget(item.control)
        ->SetSize(item.left - offset.x, item.top - offset.y, item.width, item.height);
  }
}

}  // namespace quorvane
