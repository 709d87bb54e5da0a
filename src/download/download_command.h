#pragma once

#include <cstdint>

#include "download/range_downloader.h"
#include "shell/resolved_file.h"
#include "shell/window_operations.h"
#include "text/text.h"

namespace quorvane {

// Shows the path, size, percentage and speed on the download page.
void ShowProgress(WindowOperations& window, const Text& targetPath, std::int64_t totalLength,
                  std::int32_t speedKbPerS, std::int32_t percentage);
// The downloader's progress routine.
void OnProgress(WindowOperations& window, const Text& targetPath, std::int64_t totalLength,
                std::int32_t speedKbPerS, std::int32_t percentage);
// The downloader's finished routine: the outcome text in a message box.
void OnFinished(WindowOperations& window, const Text& url, std::int32_t status,
                const Text& statusMessage, std::int32_t percentage);

// The download button: downloads the last resolved file into the chosen folder, blocking until
// the transfer has ended.
void DownloadCommand(WindowOperations& window, const ResolvedFile& resolved,
                     RangeDownloader& downloader);

}  // namespace quorvane
