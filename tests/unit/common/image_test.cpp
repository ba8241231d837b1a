#include "common/image.h"

#include <gtest/gtest.h>

#include "common/slide_files.h"
#include "tests/unit/pattern_image.h"

namespace {

using kb::test::patternImage;

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(Bitmap, HandOffSizesMatchTheRendererContract) {
  EXPECT_EQ(kb::encodeBitmap(patternImage(kb::kReelWidth, kb::kReelHeight)).size(), 79974u);
  EXPECT_EQ(kb::encodeBitmap(patternImage(kb::kSlideSide, kb::kSlideSide)).size(), 196662u);
}

TEST(Bitmap, HeaderAndBottomUpBgrRows) {
  const kb::RgbImage image = patternImage(3, 2);  // 9-byte rows pad to 12
  const std::vector<std::uint8_t> bmp = kb::encodeBitmap(image);
  ASSERT_EQ(bmp.size(), 54u + 24u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(le32(bmp, 2), bmp.size());
  EXPECT_EQ(le32(bmp, 10), 54u);
  EXPECT_EQ(le32(bmp, 14), 40u);
  EXPECT_EQ(le32(bmp, 18), 3u);
  EXPECT_EQ(le32(bmp, 22), 2u);
  EXPECT_EQ(bmp[26] | bmp[27] << 8, 1);
  EXPECT_EQ(bmp[28] | bmp[29] << 8, 24);
  EXPECT_EQ(le32(bmp, 30), 0u);
  EXPECT_EQ(le32(bmp, 34), 24u);
  // First stored row is the image's bottom row, pixels blue-green-red.
  const std::uint8_t* bottomLeft = image.at(0, 1);
  EXPECT_EQ(bmp[54], bottomLeft[2]);
  EXPECT_EQ(bmp[55], bottomLeft[1]);
  EXPECT_EQ(bmp[56], bottomLeft[0]);
  EXPECT_EQ(bmp[54 + 9], 0);  // padding
  EXPECT_EQ(bmp[54 + 12], image.at(0, 0)[2]);
}

TEST(Jpeg, DamagedDataIsAnErrorNotAnExit) {
  std::string error;
  EXPECT_FALSE(kb::decodeJpeg(nullptr, 0, &error));
  EXPECT_FALSE(error.empty());
  const std::uint8_t garbage[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F'};
  error.clear();
  EXPECT_FALSE(kb::decodeJpeg(garbage, sizeof garbage, &error));
  EXPECT_FALSE(error.empty());
}

TEST(Jpeg, DecodedStraightIntoABitmapIsWhatEncodingTheDecodeWrites) {
  for (const char* file :
       {"assets/slide1.jpg", "assets/preview.jpg", "fuzz/seeds/fuzz_jpeg/grey_16x8.jpg",
        "fuzz/seeds/fuzz_jpeg/colour_16x8.jpg"}) {
    const auto jpeg = kb::readFileBytes(std::string(KB_SOURCE_DIR) + "/" + file);
    ASSERT_TRUE(jpeg) << file;
    const auto image = kb::decodeCompleteJpeg(jpeg->data(), jpeg->size());
    ASSERT_TRUE(image) << file;
    EXPECT_EQ(kb::decodeCompleteJpegToBitmap(jpeg->data(), jpeg->size()), kb::encodeBitmap(*image))
        << file;
  }
  std::string error;
  const std::uint8_t cut[] = {0xFF, 0xD8, 0xFF};
  EXPECT_FALSE(kb::decodeCompleteJpegToBitmap(cut, sizeof cut, &error));
  EXPECT_FALSE(error.empty());
}

TEST(SlideFiles, NamesAreFixedInTheWindowsFolder) {
  EXPECT_EQ(kb::slideFileName(0), "C:\\Windows\\Kolvane_Brightrun0.bmp");
  EXPECT_EQ(kb::slideFileName(9), "C:\\Windows\\Kolvane_Brightrun9.bmp");
}

}  // namespace
