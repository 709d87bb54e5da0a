#include "cli/get_cmd.h"

#include <sys/stat.h>

#include "cli/download_cmd.h"
#include "cli/exit_codes.h"
#include "cli/resolve_cmd.h"
#include "cli/terminal_text.h"
#include "resolve/safe_file_name.h"
#include "text/code_page.h"

namespace quorvane {

int RunGet(const GetOptions& options) {
  ResolvedFile resolved;
  if (!ResolveAndPrint({options.resolverBase, options.link}, resolved)) {
    return kExitFailure;
  }
  const std::string name = Utf8FromCp936(SafeFileName(resolved.fileName));
  if (name.empty()) {
    PrintError("the resolved file name cannot be used as a file name");
    return kExitFailure;
  }
  // Like the window: one folder level is created when missing; a failure shows up as the
  // download's own "cannot open" outcome.
  mkdir(options.dir.c_str(), 0777);
  std::string path = options.dir;
  if (!path.empty() && path.back() != '/') {
    path += '/';
  }
  path += name;
  return DownloadToFile(resolved.downloadAddress, Text(), path, kDefaultChunkKb);
}

}  // namespace quorvane
