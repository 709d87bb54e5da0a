#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli_process.h"
#include "support/nginx_fixture.h"
#include "support/stand_in_resolver.h"

namespace quorvane::testing {
namespace {

const std::string kSampleLink = "https://pan.baidu.com/s/1qYsAmpL";

// The whole road: the stand-in service resolves the sample link to a file that nginx serves.
class GetCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.empty());
    std::filesystem::create_directories(folder_ + "/www");
    WriteFile(folder_ + "/www/样例 文件.bin", data_);
    nginx_ = std::make_unique<NginxFixture>(folder_ + "/www");
    ASSERT_TRUE(nginx_->Ready()) << nginx_->ErrorLog();
    resolver_ = std::make_unique<StandInResolver>(StandInResolver::Options{
        .downloadBase = nginx_->Url(""), .sampleFile = folder_ + "/www/样例 文件.bin"});
    ASSERT_TRUE(resolver_->started());
  }

  void TearDown() override {
    resolver_.reset();
    nginx_.reset();
    std::filesystem::remove_all(folder_);
  }

  const std::string folder_ = MakeTempFolder("quorvane-cli-get");
  const std::string data_ = Pattern(100 * 1024 + 3);
  std::unique_ptr<NginxFixture> nginx_;
  std::unique_ptr<StandInResolver> resolver_;
};

TEST_F(GetCommand, DownloadsTheResolvedFileIntoTheFolderUnderItsName) {
  const std::string dir = folder_ + "/new";

  const CliResult result =
      RunCli({"get", "--resolver", resolver_->base(), "--dir", dir, kSampleLink});

  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out.rfind("文件名称：样例 文件.bin\n文件尺寸：102403\n", 0), 0u) << result.out;
  const std::string ending = "\n下载完毕\n";
  ASSERT_GE(result.out.size(), ending.size());
  EXPECT_EQ(result.out.substr(result.out.size() - ending.size()), ending);
  EXPECT_TRUE(ReadFile(dir + "/样例 文件.bin") == data_);
}

TEST_F(GetCommand, NothingResolvedDownloadsNothing) {
  const std::string dir = folder_ + "/new";

  const CliResult result = RunCli(
      {"get", "--resolver", resolver_->base(), "--dir", dir, "https://pan.baidu.com/s/unknown"});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("no download address"), std::string::npos) << result.err;
  EXPECT_FALSE(std::filesystem::exists(dir));
}

}  // namespace
}  // namespace quorvane::testing
