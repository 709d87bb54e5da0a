#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_process.h"
#include "support/stand_in_resolver.h"

namespace quorvane::testing {
namespace {

const std::string kShare = "https://pan.baidu.com/s/";

struct ResolveCase {
  const char* name;
  std::string code;
  int exitCode;
  std::string out;
  std::string reason;  // found in stderr
};

class ResolveCommand : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(ResolveCommand, PrintsTheFourLinesAndTellsWhetherAnAddressWasFound) {
  StandInResolver resolver;
  ASSERT_TRUE(resolver.started());

  const CliResult result =
      RunCli({"resolve", "--resolver", resolver.base(), kShare + GetParam().code});

  EXPECT_EQ(result.exitCode, GetParam().exitCode) << result.err;
  EXPECT_EQ(result.out, GetParam().out);
  if (GetParam().reason.empty()) {
    EXPECT_EQ(result.err, "");
  } else {
    EXPECT_NE(result.err.find(GetParam().reason), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
  }
  EXPECT_EQ(resolver.RequestTargets(),
            std::vector<std::string>{"/baidu/?url=" + kShare + GetParam().code});
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ResolveCommand,
    ::testing::Values(
        ResolveCase{"Sample", "1qYsAmpL", 0,
                    "文件名称：样例文件.bin\n"
                    "文件尺寸：1048576\n"
                    "文件 MD5：b6d81b360a5672d80c27430f39153e2c\n"
                    "文件地址：http://127.0.0.1:1/files/%E6%A0%B7%E4%BE%8B%E6%96%87%E4%BB%B6.bin\n",
                    ""},
        ResolveCase{"EscapedSlashKept", "test-escaped-slash", 0,
                    "文件名称：另一个文件.txt\n"
                    "文件尺寸：2048\n"
                    "文件 MD5：0123456789abcdef0123456789abcdef\n"
                    "文件地址：http:\\/\\/127.0.0.1\\/a.bin\n",
                    ""},
        ResolveCase{"UnknownLink", "unknown", 1, "文件名称：\n文件尺寸：\n文件 MD5：\n文件地址：\n",
                    "no download address"},
        ResolveCase{"ConnectionDropped", "test-broken-drop", 1,
                    "文件名称：\n文件尺寸：\n文件 MD5：\n文件地址：\n", "no reply"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(ResolveCommandWithoutService, ExitsOneWithTheReason) {
  const std::string base =
      "http://127.0.0.1:" + std::to_string(FreeLoopbackPort()) + "/baidu/?url=";

  const CliResult result = RunCli({"resolve", "--resolver", base, kShare + "1qYsAmpL"});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("no reply from the resolving service at " + base), std::string::npos)
      << result.err;
}

}  // namespace
}  // namespace quorvane::testing
