#pragma once

#include <functional>
#include <memory>

#include "download/clock.h"
#include "download/http_request.h"
#include "download/range_downloader.h"
#include "shell/resolved_file.h"

namespace quorvane {

// What the window's handlers share for the whole run.
struct AppState {
  ResolvedFile resolvedFile;
  std::unique_ptr<RangeDownloader> downloader;
};

[[nodiscard]] AppState& Globals();

// Makes the one downloader, not yet initialised: the download command initialises it.
void CreateDownloader(std::function<std::shared_ptr<HttpRequest>()> makeRequest,
                      std::shared_ptr<Clock> clock);

// The exit routine: releases the resolve results and destroys the downloader. Harmless when
// run twice or before a downloader exists.
void ReleaseGlobals();

}  // namespace quorvane
