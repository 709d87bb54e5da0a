#include "gui/keep_painted.h"

#include <gdk/gdk.h>
#include <wx/evtloop.h>

#include <vector>

namespace quorvane {
namespace {

bool IsInput(const GdkEvent* event) {
  switch (event->type) {
    case GDK_MOTION_NOTIFY:
    case GDK_BUTTON_PRESS:
    case GDK_2BUTTON_PRESS:
    case GDK_3BUTTON_PRESS:
    case GDK_BUTTON_RELEASE:
    case GDK_KEY_PRESS:
    case GDK_KEY_RELEASE:
    case GDK_SCROLL:
    case GDK_TOUCH_BEGIN:
    case GDK_TOUCH_UPDATE:
    case GDK_TOUCH_END:
    case GDK_TOUCH_CANCEL:
      return true;
    default:
      return false;
  }
}

// The toolkit puts back what a selective yield skipped; input would pile up and be delivered
// after the handler returns, so it is taken out here and everything else goes back.
void DropPendingInput() {
  std::vector<GdkEvent*> kept;
  while (GdkEvent* event = gdk_event_get()) {
    if (IsInput(event)) {
      gdk_event_free(event);
    } else {
      kept.push_back(event);
    }
  }
  for (GdkEvent* event : kept) {
    gdk_event_put(event);
    gdk_event_free(event);
  }
}

}  // namespace

void KeepPainted() {
  wxEventLoopBase* loop = wxEventLoopBase::GetActive();
  if (loop == nullptr) {
    return;
  }
  loop->YieldFor(wxEVT_CATEGORY_UI);
  DropPendingInput();
}

}  // namespace quorvane
