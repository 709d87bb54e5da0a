#include "cli_process.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quorvane::testing {

CliProcess::CliProcess(const std::vector<std::string>& args,
                       const std::vector<std::string>& wrapper)
    : folder_(MakeTempFolder("quorvane-cli-run")) {
  std::vector<std::string> command = wrapper;
  command.push_back(QUORVANE_CLI_PATH);
  command.insert(command.end(), args.begin(), args.end());
  // The shell only redirects and then becomes the program, so the pid is the program's. A proxy
  // in the environment must not take the loopback requests.
  std::vector<std::string> argv = {
      "sh",
      "-c",
      "unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY; "
      "out=$1 err=$2; shift 2; exec \"$0\" \"$@\" >\"$out\" 2>\"$err\"",
      command[0],
      folder_ + "/out",
      folder_ + "/err"};
  argv.insert(argv.end(), command.begin() + 1, command.end());
  process_ = ChildProcess::Start(argv);
}

CliProcess::~CliProcess() {
  process_.Stop();
  std::filesystem::remove_all(folder_);
}

CliResult CliProcess::Wait(std::chrono::milliseconds limit) {
  CliResult result;
  const int status = process_.Wait(limit);
  if (status != -1) {
    result.exitCode = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
  }
  result.out = ReadFile(folder_ + "/out");
  result.err = ReadFile(folder_ + "/err");
  return result;
}

CliResult RunCli(const std::vector<std::string>& args, std::chrono::milliseconds limit) {
  CliProcess process(args);
  return process.Wait(limit);
}

CliResult RunCliOnTerminal(const std::vector<std::string>& args) {
  CliProcess process(args,
                     {"python3", "-c", "import pty, sys; sys.exit(pty.spawn(sys.argv[1:]) >> 8)"});
  return process.Wait(std::chrono::seconds(60));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

long long FileSize(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 ? status.st_size : -1;
}

std::string Pattern(std::size_t size) {
  std::string data(size, '\0');
  std::uint32_t state = 12345;
  for (char& byte : data) {
    state = state * 1103515245 + 12345;
    byte = static_cast<char>(state >> 16);
  }
  return data;
}

}  // namespace quorvane::testing
