#include <gtest/gtest.h>

#include <string>

#include "gui/jpeg_picture.h"
#include "gui/resources.h"

namespace quorvane {
namespace {

TEST(Banner, IsABaselineJpegOf450By131) {
  const std::string_view jpeg = BannerJpeg();
  // A baseline picture has a start-of-frame marker of kind 0 and no progressive one.
  EXPECT_NE(jpeg.find("\xFF\xC0"), std::string_view::npos);
  EXPECT_EQ(jpeg.find("\xFF\xC2"), std::string_view::npos);
  const RgbPicture picture = DecodeJpeg(jpeg);
  EXPECT_EQ(picture.width, 450);
  EXPECT_EQ(picture.height, 131);
  EXPECT_EQ(picture.rgb.size(), 450u * 131u * 3u);
}

TEST(Banner, DamagedPicturesDecodeToNothing) {
  const std::string_view jpeg = BannerJpeg();
  for (const std::string& damaged :
       {std::string(), std::string("not a picture"), std::string(jpeg.substr(0, 2)),
        std::string(jpeg.substr(0, 300)), std::string(jpeg.substr(0, jpeg.size() / 2))}) {
    const RgbPicture picture = DecodeJpeg(damaged);
    EXPECT_TRUE(picture.rgb.empty()) << damaged.size() << " bytes";
    EXPECT_EQ(picture.width, 0);
  }
}

}  // namespace
}  // namespace quorvane
