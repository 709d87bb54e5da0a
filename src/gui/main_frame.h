#pragma once

#include <functional>
#include <map>
#include <memory>

#include <wx/frame.h>
#include <wx/timer.h>

#include "shell/control.h"
#include "shell/window_template.h"

class wxNotebook;

namespace quorvane {

// What happens on the main window's events.
struct MainWindowHandlers {
  std::function<void()> bannerClicked;
  std::function<void()> resolveClicked;
  std::function<void()> downloadClicked;
  std::function<void()> copyAddressClicked;
  std::function<void()> copyAllClicked;
  std::function<void()> watcherTick;
};

// The one window, built from its template: a banner over a tab control of three pages.
class MainFrame : public wxFrame {
 public:
  MainFrame(const WindowTemplate& layout, MainWindowHandlers handlers);

  // The toolkit's widget of a control; nullptr for timers.
  [[nodiscard]] wxWindow* Widget(Control control) const;
  // The timer of a timer control, else nullptr.
  [[nodiscard]] wxTimer* Timer(Control control) const;

 private:
  void CreateControl(const ControlTemplate& item);
  void PlacePageControls();

  MainWindowHandlers handlers_;
  std::vector<ControlTemplate> pageControls_;
  wxNotebook* notebook_ = nullptr;
  wxPoint placedAt_;  // where the pages start inside the tab control, once known
  std::map<Control, wxWindow*> widgets_;
  std::map<Control, std::unique_ptr<wxTimer>> timers_;
};

}  // namespace quorvane
