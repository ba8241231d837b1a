// The texture readers against files made in memory, checked through the
// message boxes they show and the texture GL ends up holding.
#include "renderer/textures.h"

#include <gtest/gtest.h>

#include "common/image.h"
#include "tests/unit/gl_context.h"
#include "tests/unit/textures/texture_test_support.h"

namespace kb::renderer {
namespace {

using test::Message;

class TexturesTest : public ::testing::Test {
 protected:
  test::OffscreenGlContext gl;
  test::RecordingPlatform platform;
};

RgbImage solidImage(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  RgbImage image;
  image.width = width;
  image.height = height;
  for (int i = 0; i < width * height; ++i) image.pixels.insert(image.pixels.end(), {r, g, b});
  return image;
}

TEST_F(TexturesTest, MissingBitmapShowsErrorOpeningAndLeavesSlot) {
  unsigned int slot = 0;
  textureFromFile("C:\\Windows\\Kolvane_Brightrun3.bmp", slot, false, platform);
  EXPECT_EQ(slot, 0u);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0],
            (Message{"Error opening C:\\Windows\\Kolvane_Brightrun3.bmp", "BMP Unit"}));
}

TEST_F(TexturesTest, HandOffBitmapLoadsAsRgbTexture) {
  platform.files["slide.bmp"] = encodeBitmap(solidImage(256, 256, 10, 200, 30));
  unsigned int slot = 0;
  textureFromFile("slide.bmp", slot, false, platform);
  EXPECT_TRUE(platform.messages.empty());
  ASSERT_NE(slot, 0u);
  const auto texture = test::readTexture(slot);
  ASSERT_EQ(texture.width, 256);
  EXPECT_EQ(texture.at(5, 7)[0], 10);
  EXPECT_EQ(texture.at(5, 7)[1], 200);
  EXPECT_EQ(texture.at(5, 7)[2], 30);
}

}  // namespace
}  // namespace kb::renderer
