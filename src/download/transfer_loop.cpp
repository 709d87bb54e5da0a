// The transfer: one ranged GET after another on the same request object, each reply appended
// to the local file only when it provably continues that file.

#include <cstdint>
#include <memory>
#include <optional>

#include "download/append_file.h"
#include "download/content_range.h"
#include "download/range_downloader.h"
#include "text/code_page.h"
#include "text/text.h"

namespace quorvane {

namespace {

// How long one wait for the reply may block before the time-out and the abort flag are
// tested again.
constexpr int kWaitStepMs = 1000;
constexpr int kPartialContent = 206;
constexpr int kRangeNotSatisfiable = 416;

const Text& CompleteText() {
  static const Text k = Cp936FromUtf8("下载完毕");
  return k;
}

const Text& LengthUnknownText() {
  static const Text k = Cp936FromUtf8("文件长度未知！");
  return k;
}

const Text& InvalidRangeText() {
  static const Text k = Cp936FromUtf8("服务器返回的数据范围无效！");
  return k;
}

bool IsIdentityEncoding(const Text& contentEncoding) {
  return contentEncoding.empty() || ToLowerCase(TrimSpaces(contentEncoding)) == "identity";
}

}  // namespace

bool RangeDownloader::Start() {
  static const Text kNotInitialised = Cp936FromUtf8("没有初始化");
  static const Text kBusy = Cp936FromUtf8("正在下载中……");
  static const Text kCannotOpen = Cp936FromUtf8("本地文件无法打开");

  if (!initialised_) {
    statusMessage_ = kNotInitialised;
    NotifyFinished();
    return false;
  }
  if (busy_) {
    // The caller of this nested start is told, but the running transfer keeps its outcome.
    const Text running = statusMessage_;
    statusMessage_ = kBusy;
    NotifyFinished();
    statusMessage_ = running;
    return false;
  }
  AppendFile file;
  if (!file.Open(targetPath_)) {
    statusMessage_ = kCannotOpen;
    NotifyFinished();
    return false;
  }

  std::int64_t nextOffset = file.Length();
  bytesDone_ = nextOffset;
  busy_ = true;
  statusMessage_.clear();
  abortRequested_ = false;
  // Held here so that a routine that uninitialises the downloader cannot destroy the request
  // object under the running transfer.
  const std::shared_ptr<HttpRequest> request = requestObject_;

  for (;;) {
    const std::int64_t sendTime = SendRangeRequest(*request, nextOffset);
    if (!AwaitReply(*request, sendTime)) {
      break;
    }
    const int status = request->Status();
    if (status >= 300 && status != kRangeNotSatisfiable) {
      statusMessage_ = request->StatusText();
      break;
    }
    if (status != kPartialContent && status != kRangeNotSatisfiable) {
      static const Text kNoRanges = Cp936FromUtf8("服务器不支持断点续传！");
      statusMessage_ = kNoRanges;
      break;
    }
    const bool carryOn = status == kPartialContent ? AppendRange(*request, file, nextOffset)
                                                   : AcceptEndOfFile(*request, nextOffset);
    if (!carryOn) {
      break;
    }
    ReportProgress(sendTime);
    // A progress routine that uninitialised the downloader took the transfer's figures along.
    if (!initialised_) {
      break;
    }
    if (bytesDone_ == totalLength_ || status == kRangeNotSatisfiable) {
      statusMessage_ = CompleteText();
      break;
    }
    // An abort from inside the progress routine ends the transfer after this range.
    if (abortRequested_) {
      break;
    }
  }

  file.Close();
  const bool complete = statusMessage_ == CompleteText();
  NotifyFinished();
  ResetCounters();
  return complete;
}

std::int64_t RangeDownloader::SendRangeRequest(HttpRequest& request, std::int64_t nextOffset) {
  request.Open("GET", url_, true);
  request.SetRequestHeader("Referer", referrer_);
  request.SetRequestHeader("Accept", "*/*");
  request.SetRequestHeader("User-Agent", "Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)");
  request.SetRequestHeader("Range", Concat(Text("bytes="), NumberToText(nextOffset), "-",
                                           NumberToText(nextOffset + chunkSize_ - 1)));
  request.SetRequestHeader("Content-Type", "application/octet-stream");
  request.SetRequestHeader("Pragma", "no-cache");
  request.SetRequestHeader("Cache-Control", "no-cache");
  request.Send();
  return clock_->NowMs();
}

bool RangeDownloader::AwaitReply(HttpRequest& request, std::int64_t sendTime) {
  // Readiness is tested before every wait, so a reply that is already there costs no wait.
  while (request.ReadyState() != HttpRequest::kReadyStateComplete) {
    if (clock_->NowMs() - sendTime > timeoutMs_) {
      static const Text kTimedOut = Cp936FromUtf8("数据下载超时，建议重试。");
      request.Abort();
      statusMessage_ = kTimedOut;
      return false;
    }
    if (abortRequested_) {
      // Abort has already stopped the request.
      static const Text kAborted = Cp936FromUtf8("用户中止了下载");
      statusMessage_ = kAborted;
      return false;
    }
    request.WaitForResponse(kWaitStepMs);
  }
  return true;
}

bool RangeDownloader::AppendRange(HttpRequest& request, AppendFile& file,
                                  std::int64_t& nextOffset) {
  const Text header = request.GetResponseHeader("Content-Range");
  if (header.empty()) {
    statusMessage_ = LengthUnknownText();
    return false;
  }
  const std::optional<ContentRange> contentRange = ParseContentRange(header);
  if (!contentRange || !contentRange->range) {
    statusMessage_ = InvalidRangeText();
    return false;
  }
  if (!contentRange->total) {
    statusMessage_ = LengthUnknownText();
    return false;
  }
  const ByteRange range = *contentRange->range;
  if (range.first != nextOffset) {
    static const Text kWrongRange = Cp936FromUtf8("服务器返回的数据范围与请求不符！");
    statusMessage_ = kWrongRange;
    return false;
  }
  // A compressed body is not the file's bytes.
  if (!IsIdentityEncoding(request.GetResponseHeader("Content-Encoding"))) {
    static const Text kEncoded = Cp936FromUtf8("服务器返回了压缩数据，无法续传！");
    statusMessage_ = kEncoded;
    return false;
  }
  const Bytes body = request.ResponseBody();
  if (static_cast<std::int64_t>(body.size()) != range.last - range.first + 1) {
    static const Text kWrongLength = Cp936FromUtf8("服务器返回的数据长度与范围不符！");
    statusMessage_ = kWrongLength;
    return false;
  }
  if (!file.Append(body)) {
    static const Text kWriteFailed = Cp936FromUtf8("写入本地文件失败！");
    statusMessage_ = kWriteFailed;
    return false;
  }
  if (totalLength_ == 0) {
    totalLength_ = *contentRange->total;
  }
  bytesDone_ += range.last - nextOffset + 1;
  // The total is learned once; a total that changes later cannot push the count past it.
  if (bytesDone_ > totalLength_) {
    bytesDone_ = totalLength_;
  }
  nextOffset = range.last + 1;
  return true;
}

// A 416 says that the first byte asked for lies at or past the end of the remote file. Its
// body is no part of the file. When it names the remote size, the local file is complete only
// if it has exactly that size.
bool RangeDownloader::AcceptEndOfFile(HttpRequest& request, std::int64_t nextOffset) {
  const Text header = request.GetResponseHeader("Content-Range");
  if (header.empty()) {
    return true;
  }
  const std::optional<ContentRange> contentRange = ParseContentRange(header);
  if (!contentRange) {
    statusMessage_ = InvalidRangeText();
    return false;
  }
  if (!contentRange->total) {
    return true;
  }
  if (*contentRange->total != nextOffset) {
    static const Text kLengthDiffers = Cp936FromUtf8("本地文件与服务器上的文件长度不符！");
    statusMessage_ = kLengthDiffers;
    return false;
  }
  totalLength_ = *contentRange->total;
  bytesDone_ = nextOffset;
  return true;
}

void RangeDownloader::ReportProgress(std::int64_t sendTime) {
  const std::int64_t elapsedMs = clock_->NowMs() - sendTime;
  // Kilobytes per second from the configured chunk, not from the body received.
  const std::int32_t speed =
      elapsedMs <= 0 ? 0 : TruncateToInteger(chunkSize_ / 1.024 / static_cast<double>(elapsedMs));
  if (!progressCallback_) {
    return;
  }
  // A copy, so that a routine that uninitialises the downloader does not destroy itself.
  const ProgressRoutine progress = progressCallback_;
  progress(targetPath_, totalLength_, speed, Percentage());
}

}  // namespace quorvane
