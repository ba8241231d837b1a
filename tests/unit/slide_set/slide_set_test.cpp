#include "common/slide_set.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "common/slide_files.h"
#include "tests/unit/pattern_image.h"
#include "tools/asset_names.h"

namespace {

using kb::test::patternImage;

std::vector<std::uint8_t> assetBytes(int index) {
  const std::string path = std::string(KB_SOURCE_DIR) + "/assets/" + kb::embeddedPictureName(index);
  auto bytes = kb::readFileBytes(path);
  if (!bytes) ADD_FAILURE() << "cannot read " << path;
  return bytes.value_or(std::vector<std::uint8_t>{});
}

void putLe32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Decodes from a buffer of exactly `size` bytes on the heap, so that ASan
// reports any read past the data.
std::optional<kb::RgbImage> decodeExact(const std::vector<std::uint8_t>& bytes, std::size_t size) {
  std::vector<std::uint8_t> exact(bytes.begin(), bytes.begin() + static_cast<long>(size));
  return kb::decodeBitmap24(exact.data(), exact.size());
}

TEST(BitmapDecoder, ReadsBackWhatTheEncoderWroteAtEveryRowPadding) {
  for (int width = 1; width <= 5; ++width) {
    const kb::RgbImage image = patternImage(width, 3);
    const auto decoded =
        kb::decodeBitmap24(kb::encodeBitmap(image).data(), kb::encodeBitmap(image).size());
    ASSERT_TRUE(decoded) << "width " << width;
    EXPECT_EQ(decoded->width, width);
    EXPECT_EQ(decoded->height, 3);
    EXPECT_EQ(decoded->pixels, image.pixels) << "width " << width;
  }
}

TEST(BitmapDecoder, TopDownRowsComeOutInTheSameOrder) {
  const kb::RgbImage image = patternImage(4, 3);
  std::vector<std::uint8_t> bmp = kb::encodeBitmap(image);
  const std::size_t rowBytes = 12;
  std::vector<std::uint8_t> flipped(bmp.begin(), bmp.begin() + 54);
  for (int row = 2; row >= 0; --row)
    flipped.insert(flipped.end(), bmp.begin() + static_cast<long>(54 + row * rowBytes),
                   bmp.begin() + static_cast<long>(54 + (row + 1) * rowBytes));
  putLe32(flipped, 22, static_cast<std::uint32_t>(-3));
  const auto decoded = kb::decodeBitmap24(flipped.data(), flipped.size());
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->pixels, image.pixels);
}

TEST(BitmapDecoder, EveryShortenedFileIsRefusedWithoutReadingPastIt) {
  const std::vector<std::uint8_t> bmp = kb::encodeBitmap(patternImage(5, 4));
  for (std::size_t size = 0; size < bmp.size(); ++size)
    EXPECT_FALSE(decodeExact(bmp, size)) << "size " << size;
  EXPECT_TRUE(decodeExact(bmp, bmp.size()));
  EXPECT_FALSE(kb::decodeBitmap24(nullptr, 0));
}

TEST(BitmapDecoder, HeadersThatLieOrDescribeOtherFormatsAreRefused) {
  const std::vector<std::uint8_t> good = kb::encodeBitmap(patternImage(6, 6));
  struct Lie {
    const char* what;
    std::size_t at;
    std::uint32_t value;
    bool word;
  };
  const Lie lies[] = {
      {"magic", 0, 'B' | 'A' << 8, true},
      {"8 bits per pixel", 28, 8, true},
      {"32 bits per pixel", 28, 32, true},
      {"two planes", 26, 2, true},
      {"RLE compression", 30, 1, false},
      {"bit fields", 30, 3, false},
      {"zero width", 18, 0, false},
      {"negative width", 18, static_cast<std::uint32_t>(-6), false},
      {"zero height", 22, 0, false},
      {"most negative height", 22, 0x80000000u, false},
      {"huge width", 18, 0x7FFFFFFFu, false},
      {"huge height", 22, 0x7FFFFFFFu, false},
      {"taller than the data", 22, 7, false},
      {"pixels past the end", 10, static_cast<std::uint32_t>(good.size()), false},
      {"pixels far past the end", 10, 0xFFFFFFF0u, false},
      {"pixels inside the headers", 10, 20, false},
      {"short info header", 14, 12, false},
      {"info header past the end", 14, 0xFFFFFFFFu, false},
  };
  for (const Lie& lie : lies) {
    std::vector<std::uint8_t> bad = good;
    if (lie.word) {
      bad[lie.at] = static_cast<std::uint8_t>(lie.value);
      bad[lie.at + 1] = static_cast<std::uint8_t>(lie.value >> 8);
    } else {
      putLe32(bad, lie.at, lie.value);
    }
    EXPECT_FALSE(kb::decodeBitmap24(bad.data(), bad.size())) << lie.what;
  }
}

TEST(SlideBitmapFile, MadeFromTheProjectPicturesWithTheContractSizes) {
  std::size_t total = 0;
  for (int index = 0; index < kb::kSlideFileCount; ++index) {
    const std::vector<std::uint8_t> picture = assetBytes(index);
    const auto file = kb::makeSlideBitmapFile(index, picture.data(), picture.size());
    ASSERT_TRUE(file) << "index " << index;
    EXPECT_EQ(file->size(), index == 0 ? kb::kReelFileBytes : kb::kSlideFileBytes);
    total += file->size();
    const auto reread = kb::decodeBitmap24(file->data(), file->size());
    ASSERT_TRUE(reread);
    const auto source = index == 0 ? kb::decodeBitmap24(picture.data(), picture.size())
                                   : kb::decodeJpeg(picture.data(), picture.size());
    ASSERT_TRUE(source);
    EXPECT_EQ(reread->pixels, source->pixels) << "index " << index;
  }
  EXPECT_EQ(total, 1849932u);
  EXPECT_EQ(total, kb::kSlideSetBytes);
}

TEST(SlideBitmapFile, PicturesOfTheWrongKindOrSizeAreRefused) {
  const std::vector<std::uint8_t> reel = assetBytes(0);
  const std::vector<std::uint8_t> slide = assetBytes(1);
  const std::vector<std::uint8_t> square = kb::encodeBitmap(patternImage(256, 256));
  EXPECT_FALSE(kb::makeSlideBitmapFile(0, slide.data(), slide.size()));    // JPEG as reel
  EXPECT_FALSE(kb::makeSlideBitmapFile(1, reel.data(), reel.size()));      // BMP as slide
  EXPECT_FALSE(kb::makeSlideBitmapFile(0, square.data(), square.size()));  // reel of 256 x 256
  EXPECT_FALSE(kb::makeSlideBitmapFile(-1, reel.data(), reel.size()));
  EXPECT_FALSE(kb::makeSlideBitmapFile(10, slide.data(), slide.size()));
  EXPECT_FALSE(kb::makeSlideBitmapFile(5, nullptr, 0));
}

TEST(SlideBitmapFile, TruncatedJpegIsRefusedAtEveryLength) {
  const std::vector<std::uint8_t> slide = assetBytes(4);
  for (std::size_t size = 0; size < slide.size(); size += 61) {
    std::vector<std::uint8_t> cut(slide.begin(), slide.begin() + static_cast<long>(size));
    EXPECT_FALSE(kb::makeSlideBitmapFile(4, cut.data(), cut.size())) << "size " << size;
  }
}

TEST(SlideBitmapFile, CorruptedOrRandomBytesNeverCrash) {
  const std::vector<std::uint8_t> slide = assetBytes(7);
  std::mt19937 random(1234);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::uint8_t> bytes = slide;
    for (int flip = 0; flip < 8; ++flip)
      bytes[random() % bytes.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
    const auto file = kb::makeSlideBitmapFile(7, bytes.data(), bytes.size());
    if (file) {
      EXPECT_EQ(file->size(), kb::kSlideFileBytes);
    }
  }
  for (int round = 0; round < 50; ++round) {
    std::vector<std::uint8_t> noise(random() % 4096);
    for (auto& b : noise) b = static_cast<std::uint8_t>(random());
    EXPECT_FALSE(kb::makeSlideBitmapFile(round % 10, noise.data(), noise.size()));
  }
}

}  // namespace
