#pragma once

#include <string>

namespace quorvane {

// Folders of the desktop user, as UTF-8 paths, each ending with "/".

// Where the skin file goes: $XDG_DATA_HOME/quorvane/, else ~/.local/share/quorvane/.
[[nodiscard]] std::string SkinFolder();

// The initial download folder: the user's download folder (XDG_DOWNLOAD_DIR of the user's
// user-dirs.dirs, else ~/Downloads) followed by "Taldrin/".
[[nodiscard]] std::string DownloadFolder();

}  // namespace quorvane
