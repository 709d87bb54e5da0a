#include "download/range_downloader.h"

#include <utility>

#include "text/text.h"

namespace quorvane {

namespace {

constexpr std::int32_t kDefaultChunkSize = 10240;

// One request may take 10 ms for each byte asked for.
std::int32_t TimeoutFor(std::int32_t chunkSize) {
  return TruncateToInteger(chunkSize / 0.1);
}

}  // namespace

RangeDownloader::RangeDownloader(std::function<std::shared_ptr<HttpRequest>()> makeRequest,
                                 std::shared_ptr<Clock> clock)
    : makeRequest_(std::move(makeRequest)), clock_(std::move(clock)) {}

RangeDownloader::~RangeDownloader() {
  Uninitialise();
}

void RangeDownloader::Uninitialise() {
  Abort();
  requestObject_.reset();
  initialised_ = false;
  busy_ = false;
  abortRequested_ = false;
  timeoutMs_ = 0;
  bytesDone_ = 0;
  totalLength_ = 0;
  chunkSize_ = 0;
  progressCallback_ = nullptr;
  finishedCallback_ = nullptr;
  targetPath_.clear();
  statusMessage_.clear();
  referrer_.clear();
  url_.clear();
}

bool RangeDownloader::Initialise(ProgressRoutine progress, FinishedRoutine finished) {
  if (initialised_ || busy_) {
    return false;
  }
  requestObject_ = makeRequest_ ? makeRequest_() : nullptr;
  if (!requestObject_) {
    return false;
  }
  initialised_ = true;
  busy_ = false;
  progressCallback_ = std::move(progress);
  finishedCallback_ = std::move(finished);
  totalLength_ = 0;
  abortRequested_ = false;
  chunkSize_ = kDefaultChunkSize;
  timeoutMs_ = TimeoutFor(chunkSize_);
  return true;
}

void RangeDownloader::SetChunkSize(std::uint8_t kilobytes) {
  if (!initialised_ || busy_) {
    return;
  }
  chunkSize_ = (kilobytes == 0 ? 4 : kilobytes) * 1024;
  timeoutMs_ = TimeoutFor(chunkSize_);
}

void RangeDownloader::SetSource(const Text& url, const Text& referrer) {
  if (!initialised_ || busy_) {
    return;
  }
  url_ = url;
  referrer_ = referrer;
}

bool RangeDownloader::SetTargetFile(const Text& path) {
  if (!initialised_ || busy_) {
    return false;
  }
  targetPath_ = path;
  return true;
}

void RangeDownloader::ResetCounters() {
  busy_ = false;
  abortRequested_ = false;
  bytesDone_ = 0;
  totalLength_ = 0;
}

void RangeDownloader::NotifyFinished() {
  if (!finishedCallback_) {
    return;
  }
  const std::int32_t status = requestObject_ ? requestObject_->Status() : 0;
  // A copy, so that a routine that uninitialises the downloader does not destroy itself.
  const FinishedRoutine finished = finishedCallback_;
  finished(url_, status, statusMessage_, Percentage());
}

void RangeDownloader::Abort() {
  if (!busy_) {
    return;
  }
  abortRequested_ = true;
  if (requestObject_) {
    requestObject_->Abort();
  }
}

std::int32_t RangeDownloader::Percentage() const {
  if (totalLength_ == 0) {
    return 0;
  }
  return TruncateToInteger(static_cast<double>(bytesDone_) * 100.0 /
                           static_cast<double>(totalLength_));
}

}  // namespace quorvane
