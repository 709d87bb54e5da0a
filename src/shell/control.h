#pragma once

namespace quorvane {

// The controls of the main window, named as the window's template names them.
enum class Control {
  图片框1,
  选择夹1,
  编辑框_地址,
  按钮1,
  编辑框_解析,
  一键复制,
  一键地址,
  透明标签3,
  超级链接框1,
  时钟3,
  时钟2,
  标签2,
  编辑框_路径,
  标签3,
  编辑框_名称,
  透明标签1,
  进度条1,
  下载,
  时钟1,
  透明标签4,
  超文本浏览框1,
};

}  // namespace quorvane
