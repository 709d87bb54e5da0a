// Downloads one file through the ranged downloader and the libcurl request object, and prints
// what it took, for bench/run-download-bench:
//
//   download_bench URL LOCAL_PATH CHUNK_KB
//
// Output, one line: outcome, ranges, bytes, seconds, ranges/s, MB/s (10^6 bytes), peak RSS.

#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "download/range_downloader.h"
#include "download/steady_clock.h"
#include "net/curl_http_request.h"
#include "text/code_page.h"

int main(int argc, char** argv) {
  using namespace quorvane;
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s URL LOCAL_PATH CHUNK_KB\n", argv[0]);
    return 2;
  }
  const int kilobytes = std::atoi(argv[3]);
  std::int64_t ranges = 0;
  std::int64_t totalLength = 0;
  Text outcome;
  // The window's program passes a routine that keeps the window painted; an empty one here
  // keeps its bookkeeping in the figures.
  RangeDownloader downloader([] { return std::make_shared<CurlHttpRequest>([] {}); },
                             std::make_shared<SteadyClock>());
  if (!downloader.Initialise(
          [&](const Text&, std::int64_t total, std::int32_t, std::int32_t) {
            ++ranges;
            totalLength = total;
          },
          [&](const Text&, std::int32_t, const Text& message, std::int32_t) {
            outcome = message;
          })) {
    std::fprintf(stderr, "download_bench: the downloader could not be initialised\n");
    return 1;
  }
  downloader.SetChunkSize(static_cast<std::uint8_t>(kilobytes));
  downloader.SetSource(argv[1], "");
  if (!downloader.SetTargetFile(argv[2])) return 1;

  const auto start = std::chrono::steady_clock::now();
  const bool complete = downloader.Start();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf(
      "outcome=%s ranges=%lld bytes=%lld seconds=%.3f ranges_per_s=%.0f mb_per_s=%.1f "
      "peak_rss_kib=%ld\n",
      Utf8FromCp936(outcome).c_str(), static_cast<long long>(ranges),
      static_cast<long long>(totalLength), seconds, ranges / seconds,
      static_cast<double>(totalLength) / 1e6 / seconds, usage.ru_maxrss);
  return complete ? 0 : 1;
}
