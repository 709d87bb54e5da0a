#include "net/curl_http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quorvane {

namespace {

constexpr int kMaxRedirects = 20;
constexpr auto kWaitStep = std::chrono::milliseconds(50);
// A reply that sends nothing for this long ends the request, so that a window never waits
// for ever on a stalled server.
constexpr long kStallSeconds = 60;

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ShareDeleter {
  void operator()(CURLSH* share) const { curl_share_cleanup(share); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

struct Origin {
  bool valid = false;
  std::string scheme;
  std::string hostAndPort;
};

Origin OriginOf(const std::string& url) {
  Origin origin;
  std::unique_ptr<CURLU, UrlDeleter> handle(curl_url());
  if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) {
    return origin;
  }
  char* scheme = nullptr;
  char* host = nullptr;
  char* port = nullptr;
  if (curl_url_get(handle.get(), CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
      curl_url_get(handle.get(), CURLUPART_HOST, &host, 0) == CURLUE_OK &&
      curl_url_get(handle.get(), CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) == CURLUE_OK) {
    origin.valid = true;
    origin.scheme = scheme;
    origin.hostAndPort = Concat(host, ":", port);
  }
  curl_free(scheme);
  curl_free(host);
  curl_free(port);
  return origin;
}

bool IsHostName(const Text& host) {
  if (host.empty()) return false;
  for (const char c : host) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                         (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_';
    if (!allowed) return false;
  }
  return true;
}

// Bytes that cannot stand in a request line are percent-encoded, and so is "#", so that what
// follows it reaches the server instead of being cut off as a fragment.
std::string RequestPath(const Text& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F || c == '#') {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    } else {
      encoded += c;
    }
  }
  return encoded;
}

// The request's header lines for libcurl. A line with a name and nothing after its colon is
// written "Name;", which libcurl sends with an empty value instead of dropping the header.
std::vector<std::string> HeaderLines(const Text& headers) {
  std::vector<std::string> lines;
  for (const Text& line : SplitText(headers, "\r\n")) {
    const int colon = FindText(line, ":");
    if (colon > 1 && TrimSpaces(TextRight(line, TextLength(line) - colon)).empty()) {
      lines.push_back(Concat(TextLeft(line, colon - 1), ";"));
    } else if (!line.empty()) {
      lines.push_back(line);
    }
  }
  return lines;
}

bool CarriesCredentials(const std::string& line) {
  const Text name = ToLowerCase(TrimSpaces(TextLeft(line, FindText(line, ":") - 1)));
  return name == "cookie" || name == "authorization";
}

// An agent with a line break would smuggle further header lines into the request.
Text SingleLine(const Text& agent) {
  int end = TextLength(agent) + 1;
  for (const char* lineBreak : {"\r", "\n"}) {
    const int at = FindText(agent, lineBreak);
    if (at != -1 && at < end) end = at;
  }
  return TextLeft(agent, end - 1);
}

bool IsRedirect(long status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::size_t KeepBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto& body = *static_cast<Bytes*>(user);
  body.insert(body.end(), data, data + size * count);
  return size * count;
}

// Keeps the status line and header lines of the latest response only, each ended by CR LF.
std::size_t KeepHeaderLine(char* data, std::size_t size, std::size_t count, void* user) {
  auto& block = *static_cast<std::string*>(user);
  std::string line(data, size * count);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (line.rfind("HTTP/", 0) == 0) block.clear();
  if (!line.empty()) block += line + "\r\n";
  return size * count;
}

}  // namespace

struct CurlHttpClient::State {
  std::function<void()> whileWaiting;
  std::unique_ptr<CURLSH, ShareDeleter> cookieStore;

  std::unique_ptr<CURLM, MultiDeleter> multi;
  Text agent;
  std::string proxyAddress;
  bool proxyForHttpOnly = false;

  bool connected = false;
  Text host;
  int port = 0;

  bool requestOpen = false;
  std::string url;
  std::string verb;
  RequestFlags flags;

  std::string replyHeaders;
  Bytes replyBody;
  std::size_t readOffset = 0;

  // The status and redirect target of the latest exchange.
  long status = 0;
  std::string location;

  // One exchange; its reply lands in replyHeaders, replyBody, status and location.
  CURLcode Exchange(const std::string& exchangeUrl, const std::string& exchangeVerb,
                    const std::vector<std::string>& lines, const Bytes* body) {
    replyHeaders.clear();
    replyBody.clear();
    status = 0;
    location.clear();
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) return CURLE_FAILED_INIT;
    CURL* e = easy.get();

    // The trailing entries stop libcurl from adding header lines of its own besides Host.
    std::unique_ptr<curl_slist, ListDeleter> list;
    std::vector<std::string> entries = lines;
    entries.emplace_back("Accept:");
    entries.emplace_back("Expect:");
    entries.emplace_back("Proxy-Connection:");
    for (const std::string& entry : entries) {
      curl_slist* grown = curl_slist_append(list.get(), entry.c_str());
      if (grown == nullptr) return CURLE_OUT_OF_MEMORY;
      (void)list.release();
      list.reset(grown);
    }

    curl_easy_setopt(e, CURLOPT_URL, exchangeUrl.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    if (!agent.empty()) curl_easy_setopt(e, CURLOPT_USERAGENT, agent.c_str());
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, list.get());
    if (body != nullptr) {
      static const char kNothing[] = "";
      curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body->size()));
      curl_easy_setopt(e, CURLOPT_POSTFIELDS,
                       body->empty() ? kNothing : reinterpret_cast<const char*>(body->data()));
      if (exchangeVerb != "POST") {
        curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, exchangeVerb.c_str());
      }
    } else {
      curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    }
    // An empty proxy also keeps libcurl from taking one from the environment.
    const bool useProxy =
        !proxyAddress.empty() && !(proxyForHttpOnly && OriginOf(exchangeUrl).scheme == "https");
    curl_easy_setopt(e, CURLOPT_PROXY, useProxy ? proxyAddress.c_str() : "");
    curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    if (!flags.noCookies && cookieStore) {
      curl_easy_setopt(e, CURLOPT_SHARE, cookieStore.get());
      curl_easy_setopt(e, CURLOPT_COOKIEFILE, "");
    }
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, KeepBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &replyBody);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, KeepHeaderLine);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &replyHeaders);

    if (curl_multi_add_handle(multi.get(), e) != CURLM_OK) return CURLE_FAILED_INIT;
    auto lastCall = std::chrono::steady_clock::now();
    int running = 1;
    while (curl_multi_perform(multi.get(), &running) == CURLM_OK && running != 0) {
      curl_multi_poll(multi.get(), nullptr, 0, static_cast<int>(kWaitStep.count()), nullptr);
      const auto now = std::chrono::steady_clock::now();
      if (whileWaiting && now - lastCall >= kWaitStep) {
        lastCall = now;
        whileWaiting();
      }
    }
    CURLcode result = CURLE_RECV_ERROR;
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi.get(), &left)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == e) result = message->data.result;
    }
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
    char* target = nullptr;
    if (curl_easy_getinfo(e, CURLINFO_REDIRECT_URL, &target) == CURLE_OK && target != nullptr) {
      location = target;
    }
    curl_multi_remove_handle(multi.get(), e);
    return result;
  }

  // Follows redirects as the request allows; the last exchange's reply stays.
  void Run(const std::vector<std::string>& firstLines, const Bytes& body) {
    std::vector<std::string> lines = firstLines;
    std::string hopUrl = url;
    std::string hopVerb = verb;
    bool withBody = verb == "POST" || !body.empty();
    for (int redirects = 0;; ++redirects) {
      const CURLcode result = Exchange(hopUrl, hopVerb, lines, withBody ? &body : nullptr);
      if (result != CURLE_OK || flags.noRedirect || redirects == kMaxRedirects) return;
      if (!IsRedirect(status) || location.empty()) return;
      const Origin from = OriginOf(hopUrl);
      const Origin to = OriginOf(location);
      if (!to.valid || (to.scheme != "http" && to.scheme != "https")) return;
      // A secure request is never continued in the clear.
      if (from.scheme == "https" && to.scheme == "http") return;
      // Credentials meant for one site are not handed to another.
      if (to.scheme != from.scheme || to.hostAndPort != from.hostAndPort) {
        std::erase_if(lines, CarriesCredentials);
      }
      if (status == 303 || ((status == 301 || status == 302) && hopVerb == "POST")) {
        hopVerb = "GET";
        withBody = false;
      }
      hopUrl = location;
    }
  }
};

CurlHttpClient::CurlHttpClient(std::function<void()> whileWaiting)
    : state_(std::make_unique<State>()) {
  static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
  (void)initialised;
  state_->whileWaiting = std::move(whileWaiting);
  state_->cookieStore.reset(curl_share_init());
  if (state_->cookieStore) {
    curl_share_setopt(state_->cookieStore.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  }
}

CurlHttpClient::~CurlHttpClient() {
  Close();
}

bool CurlHttpClient::Open(const Text& agent, const Text& proxy) {
  State& s = *state_;
  Close();
  s.multi.reset(curl_multi_init());
  if (!s.multi) return false;
  s.agent = SingleLine(agent);
  s.proxyForHttpOnly = ToLowerCase(TextLeft(proxy, 5)) == "http=";
  s.proxyAddress = s.proxyForHttpOnly ? TextRight(proxy, TextLength(proxy) - 5) : proxy;
  return true;
}

bool CurlHttpClient::Connect(const Text& host, int port) {
  State& s = *state_;
  if (!s.multi || !IsHostName(host) || port < 0 || port > 65535) return false;
  s.connected = true;
  s.host = host;
  s.port = port;
  return true;
}

bool CurlHttpClient::OpenRequest(const Text& verb, const Text& path, const RequestFlags& flags) {
  State& s = *state_;
  if (!s.connected) return false;
  // Port 0 stands for the scheme's own port.
  const std::string url =
      Concat(flags.secure ? "https://" : "http://", s.host,
             s.port == 0 ? Text{} : Concat(":", NumberToText(s.port)), RequestPath(path));
  if (!OriginOf(url).valid) return false;
  s.requestOpen = true;
  s.url = url;
  s.verb = verb;
  s.flags = flags;
  return true;
}

void CurlHttpClient::Send(const Text& headers, const Bytes& body) {
  State& s = *state_;
  if (!s.requestOpen) return;
  s.Run(HeaderLines(headers), body);
  s.readOffset = 0;
}

Bytes CurlHttpClient::ReadBody(int maxCount) {
  State& s = *state_;
  const std::size_t count =
      std::min(static_cast<std::size_t>(std::max(maxCount, 0)), s.replyBody.size() - s.readOffset);
  const auto from = s.replyBody.begin() + static_cast<std::ptrdiff_t>(s.readOffset);
  s.readOffset += count;
  return Bytes(from, from + static_cast<std::ptrdiff_t>(count));
}

void CurlHttpClient::QueryRawHeaders(Text& block, int bufferSize) {
  const State& s = *state_;
  if (s.replyHeaders.empty()) return;
  // The block is handed over as a zero-terminated text: it ends at its first zero byte.
  const Text headers = s.replyHeaders.substr(0, s.replyHeaders.find('\0'));
  if (TextLength(headers) + 1 <= bufferSize) block = headers;
}

void CurlHttpClient::CloseRequest() {
  State& s = *state_;
  s.requestOpen = false;
  s.url.clear();
  s.replyHeaders.clear();
  s.replyBody.clear();
  s.readOffset = 0;
}

void CurlHttpClient::CloseConnection() {
  CloseRequest();
  state_->connected = false;
}

void CurlHttpClient::Close() {
  CloseConnection();
  state_->multi.reset();
}

}  // namespace quorvane
