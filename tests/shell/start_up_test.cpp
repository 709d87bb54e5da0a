#include "shell/start_up.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shell/deploy_skin.h"
#include "support/child_process.h"

namespace quorvane {
namespace {

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string>* steps = nullptr;

// Records the steps, and what the skin file held when the skin was attached.
class RecordingPlatform : public StartUpPlatform, public SkinEngine {
 public:
  void Start() override { steps->push_back("start"); }
  void RegisterExitRoutine(void (*routine)()) override {
    steps->push_back("register exit");
    exitRoutine = routine;
  }
  void LoadMainWindow() override { steps->push_back("load window"); }
  void RunMessageLoop() override { steps->push_back("message loop"); }
  void SkinAttach(const std::string& path, const Text& password) override {
    steps->push_back("attach " + ReadWholeFile(path) + (password.empty() ? "" : " with password"));
    attachedPath = path;
  }
  void SkinAdjustAero(const std::array<int, 9>& /*values*/) override { steps->push_back("adjust"); }

  void (*exitRoutine)() = nullptr;
  std::string attachedPath;
};

void ReleaseForTest() {}

class StartUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testing::MakeTempFolder("quorvane-start");
    steps = &steps_;
  }
  void TearDown() override {
    steps = nullptr;
    std::filesystem::remove_all(folder_);
  }

  std::string folder_;
  std::vector<std::string> steps_;
  RecordingPlatform platform_;
};

TEST_F(StartUpTest, RunsTheStepsInOrderWithTheSkinOnDiskBeforeTheWindow) {
  StartUpSettings settings;
  settings.createGlobals = [] { steps->push_back("create downloader"); };
  settings.exitRoutine = ReleaseForTest;
  settings.skinFolder = folder_ + "/data/quorvane/";
  settings.skinFile = "skin v1";

  EXPECT_EQ(StartUp(platform_, platform_, settings), 0);

  EXPECT_EQ(steps_, (std::vector<std::string>{"start", "create downloader", "register exit",
                                              "attach skin v1", "load window", "message loop"}));
  EXPECT_EQ(platform_.exitRoutine, &ReleaseForTest);
  EXPECT_EQ(platform_.attachedPath, folder_ + "/data/quorvane/" + kSkinFileName);
}

// Every start writes the skin anew; a write that fails is passed over and whatever file is
// there is attached.
TEST_F(StartUpTest, DeploySkinRewritesOrPassesOverAFailedWrite) {
  const std::string skinFolder = folder_ + "/skins";
  std::filesystem::create_directories(skinFolder);
  std::ofstream(skinFolder + "/" + kSkinFileName) << "an older and longer skin";
  DeploySkin(platform_, skinFolder, "new");
  EXPECT_EQ(steps_.back(), "attach new");

  // A folder that cannot be made: a file stands where it should be.
  std::ofstream(folder_ + "/taken") << "x";
  DeploySkin(platform_, folder_ + "/taken", "new");
  EXPECT_EQ(steps_.back(), "attach ");
  EXPECT_EQ(platform_.attachedPath, folder_ + "/taken/" + kSkinFileName);
}

}  // namespace
}  // namespace quorvane
