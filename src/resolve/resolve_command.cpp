#include "resolve/resolve_command.h"

#include "resolve/fetch_text.h"
#include "resolve/resolve_reply.h"
#include "resolve/safe_file_name.h"
#include "text/code_page.h"

namespace quorvane {

void ResolveCommand(HttpClient& client, WindowOperations& window, ResolvedFile& resolved,
                    const Text& resolverBase) {
  static const Text kNameLabel = Cp936FromUtf8("\r\n文件名称：");
  static const Text kSizeLabel = Cp936FromUtf8("\r\n文件尺寸：");
  static const Text kMd5Label = Cp936FromUtf8("\r\n文件 MD5：");
  static const Text kAddressLabel = Cp936FromUtf8("\r\n文件地址：");
  static const Text kLineEnd = "\r\n";

  const Text link = window.GetText(Control::编辑框_地址);
  resolved = ReadResolveReply(FetchText(client, Concat(resolverBase, link)));

  window.AppendText(Control::编辑框_解析, Concat(kNameLabel, resolved.fileName, kLineEnd));
  window.AppendText(Control::编辑框_解析, Concat(kSizeLabel, resolved.fileSize, kLineEnd));
  window.AppendText(Control::编辑框_解析, Concat(kMd5Label, resolved.fileMd5, kLineEnd));
  window.AppendText(Control::编辑框_解析,
                    Concat(kAddressLabel, resolved.downloadAddress, kLineEnd));
  // The name box names the file the download writes, so a name from the reply must not reach
  // outside the chosen folder; the result box and the record keep the name as decoded.
  window.SetText(Control::编辑框_名称, SafeFileName(resolved.fileName));
}

}  // namespace quorvane
