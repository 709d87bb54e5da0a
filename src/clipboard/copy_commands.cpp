#include "clipboard/copy_commands.h"

#include "shell/control.h"
#include "shell/site.h"
#include "text/code_page.h"

namespace quorvane {

void CopyAddressCommand(Clipboard& clipboard, WindowOperations& window,
                        const ResolvedFile& resolved) {
  static const Text kBanner = Cp936FromUtf8(
      "********** 以下为您所复制的下载地址，如果无法获取请到官网反馈 **********\r\n"
      "######################################################\r\n");
  static const Text kClosingLine =
      Cp936FromUtf8("\r\n######################################################");
  static const Text kTitle = Cp936FromUtf8("温馨提醒：");
  static const Text kNothingResolved =
      Cp936FromUtf8("请先解析地址后再使用本功能，如果无法获取请到官网反馈！");

  if (resolved.downloadAddress.empty()) {
    window.MessageBox(kNothingResolved, WindowOperations::kOkButton);
    return;
  }
  // A clipboard that cannot be opened is passed over: the address is shown all the same.
  clipboard.SetText(resolved.downloadAddress);
  window.MessageBoxWithTitle(Concat(kBanner, resolved.downloadAddress, kClosingLine),
                             WindowOperations::kOkButton, kTitle);
}

void CopyAllCommand(Clipboard& clipboard, WindowOperations& window) {
  static const Text kFooter = Concat(Cp936FromUtf8("\r\n#本信息由【Quorvane生成，欢迎访问："),
                                     Text(kHomePage), Cp936FromUtf8("】"));
  static const Text kCopied = Cp936FromUtf8("复制成功！感谢您的支持");

  clipboard.SetText(Concat(window.GetText(Control::编辑框_解析), kFooter));
  window.MessageBox(kCopied, WindowOperations::kOkButton);
}

}  // namespace quorvane
