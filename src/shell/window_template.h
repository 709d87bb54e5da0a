#pragma once

#include <array>
#include <string>
#include <vector>

#include "shell/control.h"

namespace quorvane {

// The kinds of control the main window is built from.
enum class ControlKind {
  EditBox,
  Button,
  Label,
  TransLabel,
  PicBox,
  ProcessBar,
  Tab,
  HyperLinker,
  Timer,
  HtmlViewer,
};

// The window itself rather than a page of the tab control.
inline constexpr int kWindowPage = -1;

// One control as the template stores it. Texts are UTF-8: the template is the toolkit's
// data, not the commands'.
struct ControlTemplate {
  Control control;
  const char* name;  // the control's name, also given to the toolkit's widget
  ControlKind kind;
  // kWindowPage, or the index of the tab page that holds the control.
  int page;
  // Left and top: within the window's client area for controls of the window, within the
  // tab control (its tab strip included) for controls on its pages.
  int left;
  int top;
  int width;
  int height;
  std::string text;         // caption or initial content
  std::string target = {};  // the address a link opens
  bool multiLine = false;
};

struct WindowTemplate {
  std::string title;
  int outerWidth;
  int outerHeight;
  std::array<const char*, 3> pageTitles;
  std::vector<ControlTemplate> controls;
};

// The main window; `downloadFolder` (UTF-8, ending with "/") is the folder box's initial text.
[[nodiscard]] WindowTemplate MainWindowTemplate(const std::string& downloadFolder);

}  // namespace quorvane
