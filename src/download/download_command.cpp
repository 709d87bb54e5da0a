#include "download/download_command.h"

#include <sys/stat.h>

#include <string>

#include "shell/control.h"
#include "text/code_page.h"

namespace quorvane {

namespace {

constexpr std::uint8_t kChunkKilobytes = 20;

// One level only; a folder that cannot be made shows up as a file that cannot be opened.
void CreateFolderWhenMissing(const Text& folder) {
  const std::string path = Utf8FromCp936(folder);
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    ::mkdir(path.c_str(), 0777);
  }
}

}  // namespace

void ShowProgress(WindowOperations& window, const Text& targetPath, std::int64_t totalLength,
                  std::int32_t speedKbPerS, std::int32_t percentage) {
  static const Text kSize = Cp936FromUtf8("\r\n文件尺寸：");
  static const Text kProgress = Cp936FromUtf8("Bit\r\n下载进度：");
  static const Text kSpeed = Cp936FromUtf8("%\r\n下载速度：");
  window.SetProgressPosition(Control::进度条1, percentage);
  window.SetText(Control::透明标签1,
                 Concat(targetPath, kSize, NumberToText(totalLength), kProgress,
                        NumberToText(percentage), kSpeed, NumberToText(speedKbPerS), " KB/S"));
}

void OnProgress(WindowOperations& window, const Text& targetPath, std::int64_t totalLength,
                std::int32_t speedKbPerS, std::int32_t percentage) {
  ShowProgress(window, Text(targetPath), totalLength, speedKbPerS, percentage);
}

void OnFinished(WindowOperations& window, const Text& /*url*/, std::int32_t /*status*/,
                const Text& statusMessage, std::int32_t /*percentage*/) {
  window.MessageBox(statusMessage, WindowOperations::kOkButton);
}

void DownloadCommand(WindowOperations& window, const ResolvedFile& resolved,
                     RangeDownloader& downloader) {
  static const Text kNoAddress = Cp936FromUtf8("下载地址不正确，请检查地址是否已经解析！");
  static const Text kReminder = Cp936FromUtf8("友情提醒：");

  CreateFolderWhenMissing(window.GetText(Control::编辑框_路径));
  if (resolved.downloadAddress.empty()) {
    window.MessageBoxWithTitle(kNoAddress, WindowOperations::kOkButton, kReminder);
    return;
  }
  // Only the first click's routines are kept; they reach the same window every time.
  downloader.Initialise(
      [&window](const Text& targetPath, std::int64_t totalLength, std::int32_t speedKbPerS,
                std::int32_t percentage) {
        OnProgress(window, targetPath, totalLength, speedKbPerS, percentage);
      },
      [&window](const Text& url, std::int32_t status, const Text& statusMessage,
                std::int32_t percentage) {
        OnFinished(window, url, status, statusMessage, percentage);
      });
  // Joined as typed: the folder text is expected to end with a separator.
  downloader.SetTargetFile(
      Concat(window.GetText(Control::编辑框_路径), window.GetText(Control::编辑框_名称)));
  downloader.SetSource(resolved.downloadAddress, Text());
  downloader.SetChunkSize(kChunkKilobytes);
  // The user learns the outcome from the finished routine.
  static_cast<void>(downloader.Start());
}

}  // namespace quorvane
