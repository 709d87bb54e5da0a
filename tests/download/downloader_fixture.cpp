#include "downloader_fixture.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/child_process.h"
#include "text/code_page.h"

namespace quorvane::testing {

DownloaderFixture::DownloaderFixture()
    : folder(MakeTempFolder("download-test")),
      target(folder + "/file.bin"),
      downloader(
          [this]() -> std::shared_ptr<HttpRequest> {
            ++requestsMade;
            return request;
          },
          clock) {}

DownloaderFixture::~DownloaderFixture() {
  std::filesystem::remove_all(folder);
}

void DownloaderFixture::Prepare(std::uint8_t chunkKilobytes) {
  ASSERT_TRUE(downloader.Initialise(
      [this](const Text& targetPath, std::int64_t totalLength, std::int32_t speed,
             std::int32_t percentage) {
        progressCalls.push_back({targetPath, totalLength, speed, percentage});
        if (insideProgress) {
          insideProgress();
        }
      },
      [this](const Text& url, std::int32_t status, const Text& statusMessage,
             std::int32_t percentage) {
        finishedCalls.push_back({url, status, statusMessage, percentage});
        if (insideFinished) {
          insideFinished();
        }
      }));
  ASSERT_TRUE(downloader.SetTargetFile(target));
  downloader.SetSource(kUrl, Text());
  downloader.SetChunkSize(chunkKilobytes);
}

Bytes ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) {
  return std::filesystem::exists(path);
}

bool FileIsFree(const std::string& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    return false;
  }
  const bool free = ::flock(descriptor, LOCK_EX | LOCK_NB) == 0;
  ::close(descriptor);
  return free;
}

Text Cp936(const char* utf8) {
  return Cp936FromUtf8(utf8);
}

}  // namespace quorvane::testing
