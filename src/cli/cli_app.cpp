#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/download_cmd.h"
#include "cli/exit_codes.h"
#include "cli/fetch_cmd.h"
#include "cli/get_cmd.h"
#include "cli/resolve_cmd.h"
#include "resolve/resolver_base.h"
#include "text/code_page.h"

namespace quorvane {

namespace {

void AddResolverOption(CLI::App& command, std::string& resolverBase) {
  resolverBase = Utf8FromCp936(DefaultResolverBase());
  command
      .add_option("--resolver", resolverBase,
                  "Base address of the resolving service; the link is appended to it")
      ->capture_default_str();
}

}  // namespace

int RunCli(int argc, char** argv) {
  CLI::App app("Resolves cloud-storage share links and downloads files in resumable byte ranges.",
               "quorvane-cli");
  app.set_version_flag("--version", std::string("quorvane-cli ") + QUORVANE_VERSION);
  app.require_subcommand(1);
  app.footer(
      "Exit status: 0 done, 1 failed (the reason is printed), 2 usage error, 130 stopped by "
      "Ctrl-C. A download continues FILE from its length, so running it again resumes it.");

  ResolveOptions resolve;
  CLI::App* resolveCommand = app.add_subcommand(
      "resolve", "Resolve a share link and print the file's name, size, MD5 and address");
  AddResolverOption(*resolveCommand, resolve.resolverBase);
  resolveCommand->add_option("LINK", resolve.link, "The share link, sent as given")->required();

  DownloadOptions download;
  CLI::App* downloadCommand = app.add_subcommand(
      "download", "Download URL into FILE in byte ranges, continuing FILE when it exists");
  downloadCommand
      ->add_option("--chunk-kb", download.chunkKb, "Kilobytes asked for per request (0 means 4)")
      ->check(CLI::Range(0, 255))
      ->capture_default_str();
  downloadCommand->add_option("--referrer", download.referrer, "Value of the Referer header");
  downloadCommand->add_option("URL", download.url, "Address of the remote file")->required();
  downloadCommand->add_option("FILE", download.file, "Local file to write")->required();

  GetOptions get;
  CLI::App* getCommand = app.add_subcommand(
      "get", "Resolve a share link, then download the file into DIR under its own name");
  AddResolverOption(*getCommand, get.resolverBase);
  getCommand->add_option("--dir", get.dir, "Folder to download into, created when missing")
      ->capture_default_str();
  getCommand->add_option("LINK", get.link, "The share link, sent as given")->required();

  FetchOptions fetch;
  CLI::App* fetchCommand =
      app.add_subcommand("fetch", "Fetch one page and write its body to stdout");
  fetchCommand->add_option("--post", fetch.post, "Send TEXT as the body of a POST");
  fetchCommand->add_option("--header", fetch.headers, "An extra request header line; repeatable")
      ->allow_extra_args(false);
  fetchCommand->add_option("--cookies", fetch.cookies,
                           "Cookies to send; the merged cookies are printed to stderr");
  fetchCommand->add_flag("--no-redirect", fetch.noRedirect, "Do not follow redirects");
  fetchCommand->add_option("--proxy", fetch.proxy, "Proxy address");
  fetchCommand->add_flag("--include", fetch.include,
                         "Write the raw response header block before the body");
  fetchCommand->add_option("URL", fetch.url, "Address of the page")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::CallForVersion& version) {
    return app.exit(version);
  } catch (const CLI::ParseError& error) {
    // The help names the command being parsed, so a mistake shows what that command expects.
    std::fprintf(stderr, "quorvane-cli: %s\n\n%s", error.what(), app.help().c_str());
    return kExitUsage;
  }

  if (resolveCommand->parsed()) {
    return RunResolve(resolve);
  }
  if (downloadCommand->parsed()) {
    return RunDownload(download);
  }
  if (getCommand->parsed()) {
    return RunGet(get);
  }
  return RunFetch(fetch);
}

}  // namespace quorvane
