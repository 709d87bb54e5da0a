#pragma once

#include <string_view>

namespace quorvane {

// Files carried inside the program.

// The banner picture: a baseline JPEG of 450 × 131 pixels.
[[nodiscard]] std::string_view BannerJpeg();
// The skin: a GTK style sheet written to the skin folder at every start.
[[nodiscard]] std::string_view SkinFile();

}  // namespace quorvane
