#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace quorvane {

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // rows top to bottom, three bytes a pixel
};

// Decodes a JPEG; a damaged or unsupported one gives a picture of no pixels.
[[nodiscard]] RgbPicture DecodeJpeg(std::string_view jpeg);

}  // namespace quorvane
