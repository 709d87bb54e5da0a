#include "cli/progress_display.h"

#include <sys/stat.h>
#include <unistd.h>

#include "cli/progress_line.h"

namespace quorvane {

namespace {

// Ranges may arrive thousands of times a second; a terminal needs far fewer redraws.
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

ProgressDisplay::ProgressDisplay(std::FILE* terminal, std::string targetPathUtf8)
    : terminal_(terminal),
      targetPath_(std::move(targetPathUtf8)),
      enabled_(isatty(fileno(terminal)) == 1),
      start_(std::chrono::steady_clock::now()),
      lengthAtStart_(enabled_ ? FileLength() : 0) {}

void ProgressDisplay::Update(std::int64_t totalLength, std::int32_t speedKbPerS,
                             std::int32_t percentage) {
  if (!enabled_) {
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  if (drawn_ && now - lastDraw_ < kRedrawInterval && percentage < 100) {
    return;
  }
  lastDraw_ = now;
  drawn_ = true;
  // The file holds exactly the bytes received, which the percentage gives only coarsely.
  const std::int64_t done = FileLength();
  const auto elapsedMs =
      std::chrono::duration_cast<std::chrono::milliseconds>(now - start_).count();
  const ProgressFigures figures{
      done, totalLength, percentage, speedKbPerS,
      EstimateSecondsLeft(totalLength - done, done - lengthAtStart_, elapsedMs)};
  // Carriage return and erase-to-end keep the line in place however its width changes.
  std::fprintf(terminal_, "\r%s\x1b[K", FormatProgressLine(figures).c_str());
  std::fflush(terminal_);
}

void ProgressDisplay::Finish() {
  if (drawn_) {
    std::fputc('\n', terminal_);
  }
}

std::int64_t ProgressDisplay::FileLength() const {
  struct stat status {};
  return stat(targetPath_.c_str(), &status) == 0 ? static_cast<std::int64_t>(status.st_size) : 0;
}

}  // namespace quorvane
