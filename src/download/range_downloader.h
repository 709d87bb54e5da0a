#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "download/clock.h"
#include "download/http_request.h"
#include "text/text.h"

namespace quorvane {

class AppendFile;

// Called after each range with the local path, the remote file's size, the speed of the last
// request and the share of the file present.
using ProgressRoutine = std::function<void(const Text& targetPath, std::int64_t totalLength,
                                           std::int32_t speedKbPerS, std::int32_t percentage)>;
// Called once when a Start ends, with the outcome text.
using FinishedRoutine = std::function<void(const Text& url, std::int32_t status,
                                           const Text& statusMessage, std::int32_t percentage)>;

// Fetches one remote file into a local file in fixed-size byte ranges, each appended to the
// file, so that a transfer that stopped part-way continues from the file's length next time.
// Used from one thread; its routines may call back into it while a transfer runs.
class RangeDownloader {
 public:
  // `makeRequest` gives the request object at Initialise, or nullptr when none can be made.
  RangeDownloader(std::function<std::shared_ptr<HttpRequest>()> makeRequest,
                  std::shared_ptr<Clock> clock);
  ~RangeDownloader();
  // The copy shares the request object with the original.
  RangeDownloader(const RangeDownloader& other) = default;
  RangeDownloader& operator=(const RangeDownloader&) = delete;

  // Back to the state of a fresh object; a running transfer is aborted first.
  void Uninitialise();
  // Only once: refused (false, nothing changed) while initialised or busy.
  bool Initialise(ProgressRoutine progress, FinishedRoutine finished);
  // 0 counts as 4. Also sets the time-out of one request: 10 ms for each byte asked for.
  void SetChunkSize(std::uint8_t kilobytes);
  void SetSource(const Text& url, const Text& referrer);
  bool SetTargetFile(const Text& path);
  // Runs the whole transfer; true only when it ended with the file complete.
  [[nodiscard]] bool Start();
  void ResetCounters();
  void NotifyFinished();
  // Takes effect only while busy; the transfer notices it at its next test.
  void Abort();

  [[nodiscard]] const std::shared_ptr<HttpRequest>& requestObject() const { return requestObject_; }
  [[nodiscard]] bool initialised() const { return initialised_; }
  [[nodiscard]] const Text& url() const { return url_; }
  [[nodiscard]] const Text& referrer() const { return referrer_; }
  [[nodiscard]] std::int32_t timeoutMs() const { return timeoutMs_; }
  [[nodiscard]] const Text& statusMessage() const { return statusMessage_; }
  [[nodiscard]] const Text& targetPath() const { return targetPath_; }
  [[nodiscard]] bool busy() const { return busy_; }
  [[nodiscard]] std::int64_t bytesDone() const { return bytesDone_; }
  [[nodiscard]] std::int64_t totalLength() const { return totalLength_; }
  [[nodiscard]] bool abortRequested() const { return abortRequested_; }
  [[nodiscard]] std::int32_t chunkSize() const { return chunkSize_; }

 private:
  [[nodiscard]] std::int32_t Percentage() const;
  // Returns the time of sending.
  [[nodiscard]] std::int64_t SendRangeRequest(HttpRequest& request, std::int64_t nextOffset);
  // These return false, with the outcome text set, when the transfer must end.
  [[nodiscard]] bool AwaitReply(HttpRequest& request, std::int64_t sendTime);
  [[nodiscard]] bool AppendRange(HttpRequest& request, AppendFile& file, std::int64_t& nextOffset);
  [[nodiscard]] bool AcceptEndOfFile(HttpRequest& request, std::int64_t nextOffset);
  void ReportProgress(std::int64_t sendTime);

  std::function<std::shared_ptr<HttpRequest>()> makeRequest_;
  std::shared_ptr<Clock> clock_;

  std::shared_ptr<HttpRequest> requestObject_;
  bool initialised_ = false;
  Text url_;
  Text referrer_;
  std::int32_t timeoutMs_ = 0;
  Text statusMessage_;
  Text targetPath_;
  bool busy_ = false;
  std::int64_t bytesDone_ = 0;
  ProgressRoutine progressCallback_;
  FinishedRoutine finishedCallback_;
  std::int64_t totalLength_ = 0;
  bool abortRequested_ = false;
  std::int32_t chunkSize_ = 0;
};

}  // namespace quorvane
