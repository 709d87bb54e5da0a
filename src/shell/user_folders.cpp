#include "shell/user_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace quorvane {
namespace {

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') {
    folder += '/';
  }
  return folder;
}

bool IsFolder(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
    return home;
  }
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
    return entry->pw_dir;
  }
  return "/";
}

// The XDG base-directory rules ignore relative values.
std::string AbsoluteEnvironmentFolder(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

// XDG_DOWNLOAD_DIR="$HOME/Downloads" as the user-dirs tool writes it: the value is either
// absolute or starts with $HOME.
std::string DownloadFolderOfUserDirs(const std::string& home) {
  std::string config = AbsoluteEnvironmentFolder("XDG_CONFIG_HOME");
  if (config.empty()) {
    config = home + "/.config";
  }
  std::ifstream file(config + "/user-dirs.dirs");
  static const std::string kKey = "XDG_DOWNLOAD_DIR=\"";
  for (std::string line; std::getline(file, line);) {
    if (line.rfind(kKey, 0) != 0 || line.size() < kKey.size() + 1 || line.back() != '"') {
      continue;
    }
    std::string value = line.substr(kKey.size(), line.size() - kKey.size() - 1);
    if (value.rfind("$HOME", 0) == 0) {
      value = home + value.substr(5);
    }
    // A download folder equal to the home folder is how the tool says "none".
    if (!value.empty() && value[0] == '/' && WithSlash(value) != WithSlash(home)) {
      return value;
    }
  }
  return {};
}

}  // namespace

std::string SkinFolder() {
  std::string data = AbsoluteEnvironmentFolder("XDG_DATA_HOME");
  if (data.empty()) {
    data = HomeFolder() + "/.local/share";
  }
  return WithSlash(data) + "quorvane/";
}

std::string DownloadFolder() {
  const std::string home = HomeFolder();
  // The download command creates one folder level only, so "Taldrin/" has to sit in a folder
  // that exists; a download folder that is missing falls back as the user-dirs rules say.
  std::string downloads = DownloadFolderOfUserDirs(home);
  if (downloads.empty() || !IsFolder(downloads)) {
    downloads = home + "/Downloads";
  }
  if (!IsFolder(downloads)) {
    downloads = home;
  }
  return WithSlash(downloads) + "Taldrin/";
}

}  // namespace quorvane
