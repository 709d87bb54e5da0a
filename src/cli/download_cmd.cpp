#include "cli/download_cmd.h"

#include <chrono>
#include <cstdio>
#include <memory>

#include "cli/exit_codes.h"
#include "cli/interrupt.h"
#include "cli/interruptible_request.h"
#include "cli/progress_display.h"
#include "cli/terminal_text.h"
#include "download/range_downloader.h"
#include "download/steady_clock.h"
#include "net/curl_http_request.h"
#include "text/code_page.h"

namespace quorvane {

namespace {

// How long Ctrl-C waits for the range on its way before the request is abandoned.
constexpr std::chrono::milliseconds kInterruptGrace{2000};

}  // namespace

int DownloadToFile(const Text& url, const Text& referrer, const std::string& fileUtf8,
                   int chunkKb) {
  static const Text kComplete = Cp936FromUtf8("下载完毕");
  static const Text kUserAborted = Cp936FromUtf8("用户中止了下载");
  static const Text kNotInitialised = Cp936FromUtf8("没有初始化");

  // The downloader names files in code page 936; a path that does not survive the trip would
  // have the bytes land in a file of another name.
  const Text target = Cp936FromUtf8(fileUtf8);
  if (Utf8FromCp936(target) != fileUtf8) {
    PrintError("the file name cannot be written in code page 936: " + fileUtf8);
    return kExitFailure;
  }

  CatchInterrupt();
  // The request object is made at Initialise, after `downloader` exists.
  RangeDownloader downloader(
      [&downloader] {
        return std::make_shared<InterruptibleRequest>(
            std::make_shared<CurlHttpRequest>(), InterruptRequested,
            [&downloader] { downloader.Abort(); }, kInterruptGrace);
      },
      std::make_shared<SteadyClock>());
  ProgressDisplay display(stdout, fileUtf8);
  Text outcome;
  const bool initialised = downloader.Initialise(
      [&](const Text&, std::int64_t totalLength, std::int32_t speedKbPerS,
          std::int32_t percentage) {
        // Ctrl-C stops the transfer here, after a whole range has been appended.
        if (InterruptRequested()) {
          downloader.Abort();
        }
        display.Update(totalLength, speedKbPerS, percentage);
      },
      [&](const Text&, std::int32_t, const Text& statusMessage, std::int32_t) {
        outcome = statusMessage;
      });
  if (!initialised) {
    PrintLine(stdout, kNotInitialised);
    return kExitFailure;
  }
  downloader.SetTargetFile(target);
  downloader.SetSource(url, referrer);
  downloader.SetChunkSize(static_cast<std::uint8_t>(chunkKb));
  const bool complete = downloader.Start();
  display.Finish();

  if (complete) {
    PrintLine(stdout, kComplete);
    return kExitSuccess;
  }
  // A stop asked for after a range ends without an outcome text of the transfer's own; any
  // other outcome (a server error at that moment, say) is the truer report.
  if (InterruptRequested() && (outcome.empty() || outcome == kUserAborted)) {
    PrintLine(stdout, kUserAborted);
    return kExitInterrupted;
  }
  PrintLine(stdout, outcome);
  return kExitFailure;
}

int RunDownload(const DownloadOptions& options) {
  return DownloadToFile(Cp936FromUtf8(options.url), Cp936FromUtf8(options.referrer), options.file,
                        options.chunkKb);
}

}  // namespace quorvane
