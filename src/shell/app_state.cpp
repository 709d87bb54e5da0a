#include "shell/app_state.h"

#include <utility>

#include "text/text.h"

namespace quorvane {

namespace {

void Release(Text& text) {
  Text().swap(text);
}

}  // namespace

AppState& Globals() {
  static AppState state;
  return state;
}

void CreateDownloader(std::function<std::shared_ptr<HttpRequest>()> makeRequest,
                      std::shared_ptr<Clock> clock) {
  Globals().downloader =
      std::make_unique<RangeDownloader>(std::move(makeRequest), std::move(clock));
}

void ReleaseGlobals() {
  AppState& state = Globals();
  Release(state.resolvedFile.downloadAddress);
  // The destructor aborts a running transfer and drops the request object.
  state.downloader.reset();
  Release(state.resolvedFile.responseText);
  Release(state.resolvedFile.fileName);
  Release(state.resolvedFile.fileSize);
  Release(state.resolvedFile.fileMd5);
}

}  // namespace quorvane
