#include "cli/resolve_cmd.h"

#include <cstdio>

#include "cli/exit_codes.h"
#include "cli/terminal_text.h"
#include "net/curl_http_client.h"
#include "resolve/fetch_text.h"
#include "resolve/resolve_reply.h"
#include "text/code_page.h"

namespace quorvane {

bool ResolveAndPrint(const ResolveOptions& options, ResolvedFile& resolved) {
  static const Text kNameLabel = Cp936FromUtf8("文件名称：");
  static const Text kSizeLabel = Cp936FromUtf8("文件尺寸：");
  static const Text kMd5Label = Cp936FromUtf8("文件 MD5：");
  static const Text kAddressLabel = Cp936FromUtf8("文件地址：");

  CurlHttpClient client;
  const Text url = Concat(Cp936FromUtf8(options.resolverBase), Cp936FromUtf8(options.link));
  resolved = ReadResolveReply(FetchText(client, url));

  PrintLine(stdout, Concat(kNameLabel, resolved.fileName));
  PrintLine(stdout, Concat(kSizeLabel, resolved.fileSize));
  PrintLine(stdout, Concat(kMd5Label, resolved.fileMd5));
  PrintLine(stdout, Concat(kAddressLabel, resolved.downloadAddress));
  std::fflush(stdout);

  if (resolved.responseText.empty()) {
    PrintError("no reply from the resolving service at " + options.resolverBase);
    return false;
  }
  if (resolved.downloadAddress.empty()) {
    PrintError("the resolving service's reply holds no download address");
    return false;
  }
  return true;
}

int RunResolve(const ResolveOptions& options) {
  ResolvedFile resolved;
  return ResolveAndPrint(options, resolved) ? kExitSuccess : kExitFailure;
}

}  // namespace quorvane
