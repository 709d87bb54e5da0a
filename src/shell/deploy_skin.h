#pragma once

#include <string>
#include <string_view>

#include "shell/skin_engine.h"

namespace quorvane {

// The name of the skin file inside the skin folder.
inline constexpr const char* kSkinFileName = "quorvane.skin";

// Writes `skinFile` into `folder` (creating the folder when it is missing), replacing
// whatever is there, then attaches it. A write that fails is passed over: the file already
// at that path, if any, is attached. Returns 0, which nobody reads.
int DeploySkin(SkinEngine& engine, const std::string& folder, std::string_view skinFile);

}  // namespace quorvane
