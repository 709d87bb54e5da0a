#include "gui/gtk_skin_engine.h"

#include <gtk/gtk.h>
#include <wx/toplevel.h>

#include <algorithm>

namespace quorvane {

void GtkSkinEngine::SkinAttach(const std::string& skinFilePath, const Text& /*password*/) {
  GdkScreen* screen = gdk_screen_get_default();
  if (screen == nullptr) {
    return;
  }
  GtkCssProvider* provider = gtk_css_provider_new();
  // A damaged skin is passed over: the windows keep the desktop's own theme.
  if (gtk_css_provider_load_from_path(provider, skinFilePath.c_str(), nullptr)) {
    gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  }
  g_object_unref(provider);
}

void GtkSkinEngine::SkinAdjustAero(const std::array<int, 9>& values) {
  if (window_ != nullptr && window_->CanSetTransparent()) {
    window_->SetTransparent(static_cast<wxByte>(std::clamp(values[0], 0, 255)));
  }
}

}  // namespace quorvane
