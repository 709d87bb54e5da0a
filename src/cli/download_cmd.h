#pragma once

#include <string>

#include "text/text.h"

namespace quorvane {

// The window's download button asks for ranges of this many kilobytes.
inline constexpr int kDefaultChunkKb = 20;

struct DownloadOptions {
  int chunkKb = kDefaultChunkKb;  // 0 to 255; 0 means 4
  std::string referrer;
  std::string url;
  std::string file;  // UTF-8 path
};

// Downloads `url` into `fileUtf8` range by range, continuing what the file already holds, and
// prints the outcome text. 0 when the file is complete, 130 after Ctrl-C, 1 otherwise.
[[nodiscard]] int DownloadToFile(const Text& url, const Text& referrer, const std::string& fileUtf8,
                                 int chunkKb);

// `quorvane-cli download`.
[[nodiscard]] int RunDownload(const DownloadOptions& options);

}  // namespace quorvane
