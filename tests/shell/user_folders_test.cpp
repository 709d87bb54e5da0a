#include "shell/user_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "support/child_process.h"

namespace quorvane {
namespace {

// Sets or removes an environment variable for one case.
void SetVariable(const char* name, const std::optional<std::string>& value) {
  if (value) {
    setenv(name, value->c_str(), 1);
  } else {
    unsetenv(name);
  }
}

class UserFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = testing::MakeTempFolder("quorvane-home");
    setenv("HOME", home_.c_str(), 1);
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_CONFIG_HOME");
  }
  void TearDown() override { std::filesystem::remove_all(home_); }

  void WriteUserDirs(const std::string& folder, const std::string& contents) {
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/user-dirs.dirs") << contents;
  }

  std::string home_;
};

TEST_F(UserFoldersTest, SkinFolderFollowsXdgDataHome) {
  struct Case {
    std::optional<std::string> dataHome;
    std::string expected;
  };
  for (const Case& c :
       {Case{std::nullopt, home_ + "/.local/share/quorvane/"},
        Case{"/srv/data", "/srv/data/quorvane/"}, Case{"/srv/data/", "/srv/data/quorvane/"},
        // Relative values are not to be used.
        Case{"data", home_ + "/.local/share/quorvane/"}}) {
    SetVariable("XDG_DATA_HOME", c.dataHome);
    EXPECT_EQ(SkinFolder(), c.expected) << c.dataHome.value_or("(unset)");
  }
}

TEST_F(UserFoldersTest, DownloadFolderIsTheUsersDownloadFolderWithTaldrin) {
  // Without a download folder on disk, Taldrin/ goes into the home folder: the download command
  // creates one folder level only.
  EXPECT_EQ(DownloadFolder(), home_ + "/Taldrin/");
  std::filesystem::create_directories(home_ + "/Downloads");
  EXPECT_EQ(DownloadFolder(), home_ + "/Downloads/Taldrin/");

  const std::string files = home_ + "/files";
  std::filesystem::create_directories(home_ + "/下载");
  std::filesystem::create_directories(files);
  const std::string config = home_ + "/.config";
  struct Case {
    std::string line;
    std::string expected;
  };
  for (const Case& c : {
           Case{"XDG_DOWNLOAD_DIR=\"$HOME/下载\"", home_ + "/下载/Taldrin/"},
           Case{"XDG_DOWNLOAD_DIR=\"" + files + "/\"", files + "/Taldrin/"},
           // A configured folder that does not exist is passed over.
           Case{"XDG_DOWNLOAD_DIR=\"$HOME/Missing\"", home_ + "/Downloads/Taldrin/"},
           // The home folder itself means "no download folder".
           Case{"XDG_DOWNLOAD_DIR=\"$HOME/\"", home_ + "/Downloads/Taldrin/"},
           Case{"# XDG_DOWNLOAD_DIR=\"" + files + "\"", home_ + "/Downloads/Taldrin/"},
           Case{"XDG_DOWNLOAD_DIR=\"relative\"", home_ + "/Downloads/Taldrin/"},
       }) {
    WriteUserDirs(config, "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n" + c.line + "\n");
    EXPECT_EQ(DownloadFolder(), c.expected) << c.line;
  }

  // XDG_CONFIG_HOME moves the file.
  std::filesystem::create_directories(home_ + "/Elsewhere");
  WriteUserDirs(home_ + "/elsewhere", "XDG_DOWNLOAD_DIR=\"$HOME/Elsewhere\"\n");
  setenv("XDG_CONFIG_HOME", (home_ + "/elsewhere").c_str(), 1);
  EXPECT_EQ(DownloadFolder(), home_ + "/Elsewhere/Taldrin/");
}

}  // namespace
}  // namespace quorvane
