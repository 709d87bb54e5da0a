#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_process.h"

namespace quorvane::testing {
namespace {

struct UsageCase {
  const char* name;
  std::vector<std::string> args;
  const char* usageOf;  // the command whose usage is shown
};

class UsageError : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageError, ShowsTheUsageAndExits2) {
  const CliResult result = RunCli(GetParam().args);

  EXPECT_EQ(result.exitCode, 2) << result.err;
  EXPECT_NE(result.err.find(std::string("Usage: ") + GetParam().usageOf), std::string::npos)
      << result.err;
  EXPECT_EQ(result.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UsageError,
    ::testing::Values(
        UsageCase{"NoCommand", {}, "quorvane-cli"},
        UsageCase{"UnknownCommand", {"frobnicate"}, "quorvane-cli"},
        UsageCase{"UnknownOption", {"resolve", "--fast", "x"}, "quorvane-cli resolve"},
        UsageCase{"MissingLink", {"resolve"}, "quorvane-cli resolve"},
        UsageCase{"MissingFile", {"download", "http://127.0.0.1:1/a"}, "quorvane-cli download"},
        UsageCase{"ChunkAboveRange",
                  {"download", "--chunk-kb", "256", "u", "f"},
                  "quorvane-cli download"},
        UsageCase{
            "ChunkBelowRange", {"download", "--chunk-kb", "-1", "u", "f"}, "quorvane-cli download"},
        UsageCase{"ChunkNotANumber",
                  {"download", "--chunk-kb", "ten", "u", "f"},
                  "quorvane-cli download"},
        UsageCase{"OptionWithoutValue",
                  {"fetch", "http://127.0.0.1:1/", "--header"},
                  "quorvane-cli fetch"},
        UsageCase{"ExtraArgument", {"get", "link", "more"}, "quorvane-cli get"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(Help, EachCommandDescribesItsOptions) {
  const std::vector<std::pair<std::string, std::string>> commands = {{"resolve", "--resolver"},
                                                                     {"download", "--chunk-kb"},
                                                                     {"get", "--dir"},
                                                                     {"fetch", "--no-redirect"}};
  for (const auto& [command, option] : commands) {
    SCOPED_TRACE(command);
    const CliResult result = RunCli({command, "--help"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find(option), std::string::npos) << result.out;
  }
  const CliResult top = RunCli({"--help"});
  EXPECT_EQ(top.exitCode, 0);
  for (const auto& [command, option] : commands) {
    EXPECT_NE(top.out.find(command), std::string::npos) << top.out;
  }
}

TEST(Version, PrintsTheProgramAndItsVersion) {
  const CliResult result = RunCli({"--version"});

  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "quorvane-cli 1.2\n");
}

}  // namespace
}  // namespace quorvane::testing
