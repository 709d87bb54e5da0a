#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "text/code_page.h"
#include "text/text.h"

// Text operations over 10 MB: mostly ASCII lines with Chinese names and full-width spaces, the
// shape of the replies and headers the program cuts up.
namespace quorvane {
namespace {

constexpr std::size_t kTenMegabytes = 10u << 20;

const Text& LargeText() {
  static const Text text = [] {
    const Text line = Cp936FromUtf8(
        "Set-Cookie: name=下载完毕.txt; size=1048575, md5=0123456789abcdef　path=/share\r\n");
    Text joined;
    joined.reserve(kTenMegabytes + line.size());
    while (joined.size() < kTenMegabytes) joined += line;
    return joined;
  }();
  return text;
}

void Run(benchmark::State& state, auto operation) {
  const Text& text = LargeText();
  for (auto _ : state) benchmark::DoNotOptimize(operation(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}

void BM_ReplaceTextIgnoringCase(benchmark::State& state) {
  Run(state, [](const Text& text) { return ReplaceText(text, "set-cookie", "Cookie"); });
}
BENCHMARK(BM_ReplaceTextIgnoringCase)->Unit(benchmark::kMillisecond);

void BM_ReplaceTextExact(benchmark::State& state) {
  Run(state,
      [](const Text& text) { return ReplaceText(text, "\r\n", "\n", 1, std::nullopt, true); });
}
BENCHMARK(BM_ReplaceTextExact)->Unit(benchmark::kMillisecond);

void BM_SplitTextLines(benchmark::State& state) {
  Run(state, [](const Text& text) { return SplitText(text, "\r\n"); });
}
BENCHMARK(BM_SplitTextLines)->Unit(benchmark::kMillisecond);

void BM_SplitTextCommas(benchmark::State& state) {
  Run(state, [](const Text& text) { return SplitText(text); });
}
BENCHMARK(BM_SplitTextCommas)->Unit(benchmark::kMillisecond);

void BM_FindTextAbsent(benchmark::State& state) {
  Run(state, [](const Text& text) { return FindText(text, "download="); });
}
BENCHMARK(BM_FindTextAbsent)->Unit(benchmark::kMillisecond);

void BM_FindTextAbsentIgnoringCase(benchmark::State& state) {
  Run(state, [](const Text& text) { return FindText(text, "download=", 0, true); });
}
BENCHMARK(BM_FindTextAbsentIgnoringCase)->Unit(benchmark::kMillisecond);

void BM_FindTextReverseLast(benchmark::State& state) {
  Run(state, [](const Text& text) { return FindTextReverse(text, "."); });
}
BENCHMARK(BM_FindTextReverseLast)->Unit(benchmark::kMillisecond);

void BM_RemoveSpaces(benchmark::State& state) {
  Run(state, [](const Text& text) { return RemoveSpaces(text); });
}
BENCHMARK(BM_RemoveSpaces)->Unit(benchmark::kMillisecond);

// Every byte match falls inside a two-byte character: the scan must not restart at each one.
void BM_FindTextRejectedInsideCharacters(benchmark::State& state) {
  Text text;
  while (text.size() < kTenMegabytes) text += "\xB0\x41";
  Text pattern;
  while (pattern.size() < 1000) pattern += "\x41\xB0";
  pattern += "!";
  for (auto _ : state) benchmark::DoNotOptimize(FindText(text, pattern));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_FindTextRejectedInsideCharacters)->Unit(benchmark::kMillisecond);

void BM_Utf8FromCp936(benchmark::State& state) {
  Run(state, [](const Text& text) { return Utf8FromCp936(text); });
}
BENCHMARK(BM_Utf8FromCp936)->Unit(benchmark::kMillisecond);

// Short texts, as the window and the clipboard convert them, show the cost per call.
void BM_Cp936FromUtf8Short(benchmark::State& state) {
  const std::string utf8 = "下载完毕 report.txt";
  for (auto _ : state) benchmark::DoNotOptimize(Cp936FromUtf8(utf8));
}
BENCHMARK(BM_Cp936FromUtf8Short);

}  // namespace
}  // namespace quorvane
