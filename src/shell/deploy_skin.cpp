#include "shell/deploy_skin.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace quorvane {
namespace {

void WriteWholeFile(const std::filesystem::path& path, std::string_view contents) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
}

}  // namespace

int DeploySkin(SkinEngine& engine, const std::string& folder, std::string_view skinFile) {
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  const std::filesystem::path path = std::filesystem::path(folder) / kSkinFileName;
  WriteWholeFile(path, skinFile);
  engine.SkinAttach(path.string(), Text());
  return 0;
}

}  // namespace quorvane
