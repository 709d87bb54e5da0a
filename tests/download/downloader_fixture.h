#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "download/range_downloader.h"
#include "fake_request.h"
#include "text/text.h"

namespace quorvane::testing {

struct ProgressCall {
  Text targetPath;
  std::int64_t totalLength = 0;
  std::int32_t speed = 0;
  std::int32_t percentage = 0;
};

struct FinishedCall {
  Text url;
  std::int32_t status = 0;
  Text statusMessage;
  std::int32_t percentage = 0;
};

// A downloader over a fake request object and a fake clock, whose routines record their calls,
// writing into a fresh temporary folder.
class DownloaderFixture : public ::testing::Test {
 protected:
  static constexpr const char* kUrl = "http://127.0.0.1/file.bin";

  DownloaderFixture();
  ~DownloaderFixture() override;

  // Initialise, target file, source and chunk size, as the download command does.
  void Prepare(std::uint8_t chunkKilobytes);

  [[nodiscard]] std::string PathOf(const std::string& name) const { return folder + "/" + name; }

  std::string folder;
  std::string target;
  std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
  std::shared_ptr<FakeRequest> request = std::make_shared<FakeRequest>(*clock);
  int requestsMade = 0;
  RangeDownloader downloader;
  std::vector<ProgressCall> progressCalls;
  std::vector<FinishedCall> finishedCalls;
  // Run inside the routines after the call has been recorded.
  std::function<void()> insideProgress;
  std::function<void()> insideFinished;
};

[[nodiscard]] Bytes ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const Bytes& bytes);
[[nodiscard]] bool FileExists(const std::string& path);
// True when nobody holds the file's lock, so that it could be opened for a transfer now.
[[nodiscard]] bool FileIsFree(const std::string& path);
// Code page 936 from UTF-8, for comparing with the system's texts.
[[nodiscard]] Text Cp936(const char* utf8);

}  // namespace quorvane::testing
