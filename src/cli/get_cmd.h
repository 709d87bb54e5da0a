#pragma once

#include <string>

namespace quorvane {

struct GetOptions {
  std::string resolverBase;
  std::string dir = ".";
  std::string link;
};

// `quorvane-cli get`: resolves the link, then downloads the file into the folder under its
// resolved name made safe. Exit codes as for the download.
[[nodiscard]] int RunGet(const GetOptions& options);

}  // namespace quorvane
