#include "shell/window_template.h"

#include "shell/site.h"

namespace quorvane {

WindowTemplate MainWindowTemplate(const std::string& downloadFolder) {
  using K = ControlKind;
  using C = Control;
  constexpr int kResolvePage = 0;
  constexpr int kDownloadPage = 1;
  constexpr int kAboutTab = 2;
  const std::string site = kSiteName;
  return WindowTemplate{
      "QuorvaneV1.2 — " + site,
      437,
      478,
      {"解析中心", "下载中心", "关于作者"},
      {
          {C::图片框1, "图片框1", K::PicBox, kWindowPage, 0, 0, 431, 130, ""},
          {C::选择夹1, "选择夹1", K::Tab, kWindowPage, 7, 136, 416, 312, ""},
          {C::编辑框_地址, "编辑框_地址", K::EditBox, kResolvePage, 8, 32, 320, 24,
           "https://pan.baidu.com/s/1qYsAmpL"},
          {C::按钮1, "按钮1", K::Button, kResolvePage, 336, 32, 72, 24, "一键解析"},
          {C::编辑框_解析, "编辑框_解析", K::EditBox, kResolvePage, 8, 64, 400, 224, "", "", true},
          {C::一键复制, "一键复制", K::Button, kResolvePage, 8, 289, 80, 20, "复制全部信息"},
          {C::一键地址, "一键地址", K::Button, kResolvePage, 99, 289, 80, 20, "复制下载地址"},
          {C::透明标签3, "透明标签3", K::TransLabel, kResolvePage, 208, 288, 96, 24,
           "Power:" + site},
          {C::超级链接框1, "超级链接框1", K::HyperLinker, kResolvePage, 310, 292, 98, 16,
           "反馈&建议", kFeedbackPage},
          {C::时钟3, "时钟3", K::Timer, kResolvePage, 360, 256, 32, 24, ""},
          {C::时钟2, "时钟2", K::Timer, kResolvePage, 376, 0, 32, 24, ""},
          {C::标签2, "标签2", K::Label, kDownloadPage, 16, 56, 64, 24, "下载路径："},
          {C::编辑框_路径, "编辑框_路径", K::EditBox, kDownloadPage, 94, 57, 290, 24,
           downloadFolder},
          {C::标签3, "标签3", K::Label, kDownloadPage, 16, 98, 64, 24, "文件名称："},
          {C::编辑框_名称, "编辑框_名称", K::EditBox, kDownloadPage, 93, 98, 290, 24, ""},
          {C::透明标签1, "透明标签1", K::TransLabel, kDownloadPage, 64, 128, 288, 72, ""},
          {C::进度条1, "进度条1", K::ProcessBar, kDownloadPage, 23, 207, 369, 25, ""},
          {C::下载, "下载", K::Button, kDownloadPage, 96, 247, 224, 40, "高速下载"},
          {C::时钟1, "时钟1", K::Timer, kDownloadPage, 360, 264, 32, 32, ""},
          {C::透明标签4, "透明标签4", K::TransLabel, kDownloadPage, 30, 292, 356, 16,
           "本功能有时可能会发生错误，建议通过迅雷、旋风等下载引擎下载！"},
          {C::超文本浏览框1, "超文本浏览框1", K::HtmlViewer, kAboutTab, 3, 24, 410, 283,
           kAboutPage},
      },
  };
}

}  // namespace quorvane
