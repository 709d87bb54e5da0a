#include "gui/jpeg_picture.h"

// jpeglib.h needs FILE and size_t declared before it.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace quorvane {
namespace {

struct ErrorManager {
  jpeg_error_mgr manager;
  std::jmp_buf escape;
};

// libjpeg is C: a fatal error may not unwind through it, so it jumps back to the decoder.
[[noreturn]] void LeaveDecoder(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

// A warning means damaged data (a picture cut short, for one): the picture is refused rather
// than shown half grey.
void RefuseDamage(j_common_ptr info, int level) {
  if (level < 0) {
    LeaveDecoder(info);
  }
}

}  // namespace

RgbPicture DecodeJpeg(std::string_view jpeg) {
  RgbPicture picture;
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = LeaveDecoder;
  errors.manager.emit_message = RefuseDamage;
  if (setjmp(errors.escape) != 0) {
    jpeg_destroy_decompress(&info);
    return {};
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()),
               static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  const std::size_t stride = static_cast<std::size_t>(info.output_width) * 3;
  picture.rgb.resize(stride * info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = picture.rgb.data() + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  picture.width = static_cast<int>(info.output_width);
  picture.height = static_cast<int>(info.output_height);
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return picture;
}

}  // namespace quorvane
