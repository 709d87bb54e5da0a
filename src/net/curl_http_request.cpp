#include "net/curl_http_request.h"

#include <curl/curl.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvane {

namespace {

using std::chrono::steady_clock;

constexpr auto kWhileWaitingPeriod = std::chrono::milliseconds(50);
constexpr int kIdle = 0;
constexpr int kOpened = 1;
// Large enough that a range of the biggest chunk arrives in a few reads.
constexpr long kReceiveBufferBytes = 256 * 1024;
constexpr long kMaxRedirects = 10;
// Room reserved up front for a body; larger ones grow as they arrive.
constexpr std::int64_t kMaxReservedBytes = 1024 * 1024;

bool EqualsIgnoringCase(const Text& a, const Text& b) {
  return a.size() == b.size() && ToLowerCase(a) == ToLowerCase(b);
}

// CR and LF never occur inside a two-byte character (second bytes are 0x40 or more), so a
// byte test is safe here; either would let a value add lines to the request.
bool IsSafeHeaderPart(const Text& part) {
  return part.find_first_of("\r\n") == Text::npos;
}

bool IsHeaderName(const Text& name) {
  return !name.empty() && std::all_of(name.begin(), name.end(),
                                      [](char c) { return c > ' ' && c < 0x7f && c != ':'; });
}

Text TrimWhitespace(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return Text(text.substr(first, last - first + 1));
}

// A text never holds a zero byte; a reply may.
std::string_view BeforeZero(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

// The length of the range "bytes=F-L" asks for, at most 1 GiB; 0 for anything else.
std::int64_t AskedLength(const Text& range) {
  constexpr std::string_view kPrefix = "bytes=";
  if (range.compare(0, kPrefix.size(), kPrefix) != 0) return 0;
  const char* const end = range.data() + range.size();
  std::int64_t first = 0;
  std::int64_t last = 0;
  auto [afterFirst, firstError] = std::from_chars(range.data() + kPrefix.size(), end, first);
  if (firstError != std::errc() || afterFirst == end || *afterFirst != '-') return 0;
  auto [afterLast, lastError] = std::from_chars(afterFirst + 1, end, last);
  if (lastError != std::errc() || afterLast != end || last < first) return 0;
  constexpr std::int64_t kLargest = std::int64_t{1} << 30;
  return last - first < kLargest ? last - first + 1 : kLargest;
}

bool CurlIsReady() {
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return ready;
}

}  // namespace

struct CurlHttpRequest::Transfer {
  std::function<void()> whileWaiting;
  steady_clock::time_point lastWhileWaiting = steady_clock::now();
  CURLM* multi = nullptr;
  CURL* easy = nullptr;
  curl_slist* headerList = nullptr;

  int readyState = kIdle;
  bool running = false;  // the easy handle is in the multi handle
  Text url;
  bool isGet = false;
  std::vector<std::pair<Text, Text>> requestHeaders;
  std::int64_t bodyLimit = 0;

  int status = 0;
  Text statusText;
  std::vector<std::pair<Text, Text>> responseHeaders;
  Bytes body;
  bool bodyTooLarge = false;

  ~Transfer() {
    Stop();
    if (easy != nullptr) curl_easy_cleanup(easy);
    if (multi != nullptr) curl_multi_cleanup(multi);
    curl_slist_free_all(headerList);
  }

  void Configure() {
    if (!CurlIsReady()) return;
    multi = curl_multi_init();
    easy = curl_easy_init();
    if (multi == nullptr || easy == nullptr) return;
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
    // HTTP/2 carries no reason phrase, and the reason phrase is what the user is shown.
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    // The empty proxy also keeps libcurl from taking one from the environment.
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::OnBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
  }

  void ClearResponse() {
    status = 0;
    statusText.clear();
    responseHeaders.clear();
    body.clear();
    bodyTooLarge = false;
  }

  // Takes the handle out of the multi handle; a transfer that has not ended closes its
  // connection, so nothing of its reply can reach the next request.
  void Stop() {
    if (running) curl_multi_remove_handle(multi, easy);
    running = false;
  }

  void Fail() {
    Stop();
    ClearResponse();
    readyState = kReadyStateComplete;
  }

  void Start() {
    curl_slist_free_all(headerList);
    headerList = nullptr;
    for (const auto& [name, value] : requestHeaders) {
      // "Name;" sends an empty value; "Name:" would remove the header.
      headerList = curl_slist_append(
          headerList, value.empty() ? (name + ";").c_str() : (name + ": " + value).c_str());
    }
    // libcurl adds these on its own unless told not to.
    for (const Text name : {"Accept", "Expect"}) {
      if (std::none_of(requestHeaders.begin(), requestHeaders.end(), [&](const auto& header) {
            return EqualsIgnoringCase(header.first, name);
          })) {
        headerList = curl_slist_append(headerList, (name + ":").c_str());
      }
    }

    ClearResponse();
    body.reserve(static_cast<std::size_t>(std::min(bodyLimit - kBodySlack, kMaxReservedBytes)));
    if (headerList == nullptr || !isGet ||
        curl_easy_setopt(easy, CURLOPT_URL, url.c_str()) != CURLE_OK ||
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L) != CURLE_OK ||
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headerList) != CURLE_OK ||
        curl_multi_add_handle(multi, easy) != CURLM_OK) {
      Fail();
      return;
    }
    running = true;
    Perform();
  }

  // Moves the transfer on as far as it can go without blocking.
  void Perform() {
    if (!running) return;
    int stillRunning = 0;
    curl_multi_perform(multi, &stillRunning);
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
        Finish(message->data.result);
      }
    }
  }

  void Finish(CURLcode result) {
    long code = 0;
    // A body larger than asked for is dropped, but its status and reason still tell the user
    // what the server said (a large error page, say).
    if ((result != CURLE_OK && !bodyTooLarge) ||
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code) != CURLE_OK || code == 0) {
      Fail();
      return;
    }
    Stop();
    if (bodyTooLarge) body.clear();
    status = static_cast<int>(code);
    readyState = kReadyStateComplete;
  }

  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
    auto& transfer = *static_cast<Transfer*>(self);
    const std::string_view line = BeforeZero(std::string_view(data, size * count));
    // Each status line starts a new reply (a redirect, an interim reply); only the last counts.
    if (line.starts_with("HTTP/")) {
      transfer.responseHeaders.clear();
      const auto codeStart = line.find(' ');
      const auto reasonStart =
          codeStart == std::string_view::npos ? codeStart : line.find(' ', codeStart + 1);
      transfer.statusText = reasonStart == std::string_view::npos
                                ? Text()
                                : TrimWhitespace(line.substr(reasonStart + 1));
      return size * count;
    }
    const auto colon = line.find(':');
    if (colon != std::string_view::npos) {
      transfer.responseHeaders.emplace_back(TrimWhitespace(line.substr(0, colon)),
                                            TrimWhitespace(line.substr(colon + 1)));
    }
    return size * count;
  }

  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self) {
    auto& transfer = *static_cast<Transfer*>(self);
    const std::size_t length = size * count;
    // Returning less than given fails the transfer.
    if (static_cast<std::int64_t>(transfer.body.size() + length) > transfer.bodyLimit) {
      transfer.bodyTooLarge = true;
      return 0;
    }
    transfer.body.insert(transfer.body.end(), data, data + length);
    return length;
  }
};

CurlHttpRequest::CurlHttpRequest(std::function<void()> whileWaiting)
    : transfer_(std::make_unique<Transfer>()) {
  transfer_->whileWaiting = std::move(whileWaiting);
  transfer_->Configure();
}

CurlHttpRequest::~CurlHttpRequest() = default;

void CurlHttpRequest::Open(const Text& method, const Text& url, bool /*asynchronous*/) {
  Transfer& t = *transfer_;
  t.Stop();
  t.ClearResponse();
  t.requestHeaders.clear();
  t.url = url;
  t.isGet = method == "GET";
  t.bodyLimit = kBodySlack;
  t.readyState = kOpened;
}

void CurlHttpRequest::SetRequestHeader(const Text& name, const Text& value) {
  Transfer& t = *transfer_;
  if (t.readyState != kOpened || t.running || !IsHeaderName(name) || !IsSafeHeaderPart(value)) {
    return;
  }
  const Text& trimmed = t.requestHeaders.emplace_back(name, TrimWhitespace(value)).second;
  if (EqualsIgnoringCase(name, "Range")) t.bodyLimit = AskedLength(trimmed) + kBodySlack;
}

void CurlHttpRequest::Send() {
  Transfer& t = *transfer_;
  if (t.readyState != kOpened || t.running) return;
  if (t.easy == nullptr || t.multi == nullptr) {
    t.Fail();
    return;
  }
  t.Start();
}

int CurlHttpRequest::ReadyState() {
  transfer_->Perform();
  return transfer_->readyState;
}

void CurlHttpRequest::WaitForResponse(int milliseconds) {
  Transfer& t = *transfer_;
  const auto deadline = steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    // A reply that is already complete must not cost a wait: with nothing left to watch,
    // curl_multi_poll would sleep its whole time-out.
    t.Perform();
    if (!t.running) return;
    auto now = steady_clock::now();
    if (t.whileWaiting && now - t.lastWhileWaiting >= kWhileWaitingPeriod) {
      t.lastWhileWaiting = now;
      // It may call back into this object, even abort the request.
      t.whileWaiting();
      t.Perform();
      if (!t.running) return;
      now = steady_clock::now();
    }
    if (now >= deadline) return;
    auto wait = deadline - now;
    if (t.whileWaiting) wait = std::min(wait, t.lastWhileWaiting + kWhileWaitingPeriod - now);
    // A routine that ran longer than its period leaves nothing to wait for.
    const auto waitMs =
        std::max<std::int64_t>(0, std::chrono::ceil<std::chrono::milliseconds>(wait).count());
    curl_multi_poll(t.multi, nullptr, 0, static_cast<int>(waitMs), nullptr);
  }
}

void CurlHttpRequest::Abort() {
  Transfer& t = *transfer_;
  t.Stop();
  t.ClearResponse();
  t.readyState = kIdle;
}

int CurlHttpRequest::Status() {
  return transfer_->readyState == kReadyStateComplete ? transfer_->status : 0;
}

Text CurlHttpRequest::StatusText() {
  return transfer_->readyState == kReadyStateComplete ? transfer_->statusText : Text();
}

Bytes CurlHttpRequest::ResponseBody() {
  return transfer_->readyState == kReadyStateComplete ? transfer_->body : Bytes();
}

Text CurlHttpRequest::GetResponseHeader(const Text& name) {
  const Transfer& t = *transfer_;
  if (t.readyState != kReadyStateComplete) return {};
  // Repeated fields read as one list, as HTTP defines.
  Text joined;
  for (const auto& [headerName, value] : t.responseHeaders) {
    if (!EqualsIgnoringCase(headerName, name)) continue;
    joined += joined.empty() ? value : ", " + value;
  }
  return joined;
}

}  // namespace quorvane
