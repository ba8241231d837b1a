// The texture readers against files made in memory, checked through the
// message boxes they show and the texture GL ends up holding.
#include "renderer/textures.h"

#include <gtest/gtest.h>

#include "common/image.h"
#include "tests/unit/gl_context.h"
#include "tests/unit/pattern_image.h"
#include "tests/unit/textures/texture_test_support.h"

namespace kb::renderer {
namespace {

using test::Message;
using test::patternImage;
using Bytes = std::vector<std::uint8_t>;

const std::string kName = "C:\\Windows\\Kolvane_Brightrun3";
constexpr unsigned int kUntouched = 42;

void put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A bitmap's two headers, its colour table and `dataBytes` bytes of pixels.
Bytes bitmapBytes(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                  std::uint32_t sizeImage, std::uint32_t colourCount, std::size_t dataBytes) {
  Bytes bytes(54 + colourCount * 4 + dataBytes, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(bytes, 14, 40);
  put32(bytes, 18, static_cast<std::uint32_t>(width));
  put32(bytes, 22, static_cast<std::uint32_t>(height));
  bytes[26] = 1;
  bytes[28] = static_cast<std::uint8_t>(bitCount);
  put32(bytes, 34, sizeImage);
  put32(bytes, 46, colourCount);
  return bytes;
}

// A TGA header (image type, colour-map type, size, depth) and `dataBytes` bytes.
Bytes tgaBytes(std::uint8_t imageType, std::uint8_t colourMapType, std::uint16_t width,
               std::uint16_t height, std::uint8_t depth, std::size_t dataBytes) {
  Bytes bytes(18 + dataBytes, 0);
  bytes[1] = colourMapType;
  bytes[2] = imageType;
  bytes[12] = static_cast<std::uint8_t>(width);
  bytes[13] = static_cast<std::uint8_t>(width >> 8);
  bytes[14] = static_cast<std::uint8_t>(height);
  bytes[15] = static_cast<std::uint8_t>(height >> 8);
  bytes[16] = depth;
  return bytes;
}

class TexturesTest : public ::testing::Test {
 protected:
  // Loads `fileName` and returns the one message box shown, if any.
  std::optional<Message> load(const std::string& fileName, bool fromResource = false) {
    platform.messages.clear();
    slot = kUntouched;
    textureFromFile(fileName, slot, fromResource, platform);
    EXPECT_LE(platform.messages.size(), 1u);
    if (platform.messages.empty()) return std::nullopt;
    EXPECT_EQ(slot, kUntouched) << "a failed load must leave the slot alone";
    return platform.messages[0];
  }
  // The texture's base level must equal the image, bottom row first.
  void expectTextureShows(const RgbImage& image) {
    ASSERT_NE(slot, kUntouched);
    const auto texture = test::readTexture(slot);
    ASSERT_EQ(texture.width, image.width);
    ASSERT_EQ(texture.height, image.height);
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        const std::uint8_t* want = image.at(x, image.height - 1 - y);
        const std::uint8_t* got = texture.at(x, y);
        EXPECT_EQ(Bytes(got, got + 3), Bytes(want, want + 3)) << "pixel " << x << "," << y;
      }
    }
  }

  test::OffscreenGlContext gl;
  test::RecordingPlatform platform;
  unsigned int slot = kUntouched;
};

TEST_F(TexturesTest, OnlyExactLowerCaseExtensionsChooseAReader) {
  for (const char* name : {"C:\\x.BMP", "x.jpeg", "x.Jpg", "x.TGA", "x.png", "bmp", "", "x.bmp "}) {
    EXPECT_EQ(load(name), std::nullopt) << name;
    EXPECT_EQ(slot, kUntouched);
  }
  EXPECT_EQ(load(".bmp"), (Message{"Error opening .bmp", "BMP Unit"}));
  EXPECT_EQ(load(".jpg"), (Message{"Couldn't load JPG - \".jpg\"", "BMP Unit"}));
  EXPECT_EQ(load(".tga"), (Message{"File not found  - .tga", "TGA Texture"}));
}

TEST_F(TexturesTest, BitmapFailuresShowTheirMessages) {
  const std::string name = kName + ".bmp";
  EXPECT_EQ(load(name), (Message{"Error opening " + name, "BMP Unit"}));
  platform.files[name] = bitmapBytes(2, 2, 24, 0, 0, 32);
  put32(platform.files[name], 46, 4);  // a 16-byte table, then 16 bytes of pixels
  EXPECT_EQ(load(name), std::nullopt);
  put32(platform.files[name], 46, 9);  // a table longer than the file
  EXPECT_EQ(load(name), (Message{"Error reading palette", "BMP Unit"}));
  platform.files[name] = bitmapBytes(4, 2, 24, 0, 0, 23);
  EXPECT_EQ(load(name), (Message{"Error reading bitmap data", "BMP Unit"}));
  platform.files[name] = bitmapBytes(4, 2, 24, 100, 0, 24);
  EXPECT_EQ(load(name), (Message{"Error reading bitmap data", "BMP Unit"}));

  EXPECT_EQ(load(name, true), (Message{"File not found in resource - " + name, "BMP Texture"}));
  EXPECT_EQ(platform.openedResources.back(), "BMP/C:\\Windows\\Kolvane_Brightrun3");
  platform.resources["BMP/C:\\Windows\\Kolvane_Brightrun3"] = bitmapBytes(4, 2, 24, 0, 0, 23);
  EXPECT_EQ(load(name, true), (Message{"Unable to read from resource - " + name, "BMP Unit"}));
}

TEST_F(TexturesTest, BitmapHeadersThatCannotBeHonouredAreRefused) {
  const std::string name = "a.b.bmp";
  platform.files[name] = Bytes(53, 0);
  EXPECT_EQ(load(name), (Message{"Error reading bitmap header", "BMP Unit"}));
  for (const auto& bytes : {bitmapBytes(2, 2, 24, 10, 0, 16),  // claims less than the rows need
                            bitmapBytes(4, 4, 24, 0xFFFFFFFFu, 0, 48)}) {  // far more than it has
    platform.files[name] = bytes;
    EXPECT_EQ(load(name), (Message{"Error reading bitmap data", "BMP Unit"}));
  }
  const Message unsupported{"Unsupported bitmap - " + name, "BMP Unit"};
  for (const auto& bytes :
       {bitmapBytes(4, 4, 8, 0, 0, 16), bitmapBytes(4, 4, 32, 0, 0, 64),
        bitmapBytes(4, -4, 24, 0, 0, 48), bitmapBytes(0, 4, 24, 0, 0, 0),
        bitmapBytes(-4, 4, 24, 0, 0, 48), bitmapBytes(100000, 100000, 24, 0, 0, 16),
        bitmapBytes(65536, 1, 24, 0, 0, 16)}) {
    platform.files[name] = bytes;
    EXPECT_EQ(load(name), unsupported);
  }
  platform.resources["BMP/a"] = bitmapBytes(4, 4, 8, 0, 0, 16);
  EXPECT_EQ(load(name, true), unsupported);
}

TEST_F(TexturesTest, BitmapRowsAreSwappedToRgbWithoutSkewingPaddedRows) {
  for (const int width : {1, 2, 4}) {
    const RgbImage image = patternImage(width, 4);
    platform.files["p.bmp"] = encodeBitmap(image);
    EXPECT_EQ(load("p.bmp"), std::nullopt);
    expectTextureShows(image);
  }
}

TEST_F(TexturesTest, BitmapWithoutImageSizeOrWithColourTableLoads) {
  const RgbImage image = patternImage(4, 2);
  Bytes plain = encodeBitmap(image);
  put32(plain, 34, 0);  // biSizeImage 0: width x height x 3 bytes
  platform.files["zero.bmp"] = plain;
  EXPECT_EQ(load("zero.bmp"), std::nullopt);
  expectTextureShows(image);

  Bytes withTable = encodeBitmap(image);
  put32(withTable, 46, 2);
  withTable.insert(withTable.begin() + 54, 8, 0xEE);
  platform.files["table.bmp"] = withTable;
  EXPECT_EQ(load("table.bmp"), std::nullopt);
  expectTextureShows(image);
}

TEST_F(TexturesTest, HandOffSizeIsScaledToAPowerOfTwoTexture) {
  RgbImage reel;
  reel.width = 180;
  reel.height = 148;
  reel.pixels.assign(180 * 148 * 3, 0);
  for (std::size_t i = 0; i < reel.pixels.size(); i += 3) reel.pixels[i] = 250;
  platform.files["reel.bmp"] = encodeBitmap(reel);
  EXPECT_EQ(load("reel.bmp"), std::nullopt);
  const auto texture = test::readTexture(slot);
  EXPECT_EQ(texture.width & (texture.width - 1), 0);
  EXPECT_EQ(texture.height & (texture.height - 1), 0);
  for (int y = 0; y < texture.height; ++y) {
    for (int x = 0; x < texture.width; ++x) ASSERT_EQ(texture.at(x, y)[0], 250);
  }
}

TEST_F(TexturesTest, UploadSetsFilteringEnvironmentAndMipmapsAndKeepsUnpackState) {
  platform.files["p.bmp"] = encodeBitmap(patternImage(4, 4));
  ASSERT_EQ(load("p.bmp"), std::nullopt);
  GLint value = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
  EXPECT_EQ(static_cast<unsigned int>(value), slot);
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
  EXPECT_EQ(value, GL_MODULATE);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
  EXPECT_EQ(value, GL_LINEAR);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
  EXPECT_EQ(value, GL_LINEAR);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH, &value);
  EXPECT_EQ(value, 1) << "mipmaps down to 1 x 1";
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
  EXPECT_TRUE(value == 3 || value == GL_RGB) << value;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
  EXPECT_EQ(value, 4);
}

TEST_F(TexturesTest, TgaFailuresShowTheirMessagesInOrder) {
  const std::string name = kName + ".tga";
  const std::string cannotLoad = "Couldn't load \"" + name + "\". ";
  EXPECT_EQ(load(name), (Message{"File not found  - " + name, "TGA Texture"}));
  EXPECT_EQ(load(name, true), (Message{"File not found in resource - " + name, "TGA Texture"}));
  platform.resources["TGA/C:\\Windows\\Kolvane_Brightrun3"] = tgaBytes(2, 0, 2, 2, 24, 11);
  EXPECT_EQ(load(name, true), (Message{"Unable to read from resource - " + name, "BMP Unit"}));
  platform.resources["TGA/C:\\Windows\\Kolvane_Brightrun3"] = Bytes(17, 0);
  EXPECT_EQ(load(name, true), (Message{"Unable to read from resource - " + name, "BMP Unit"}));

  const std::pair<Bytes, std::string> refusals[] = {
      {tgaBytes(10, 1, 2, 2, 32, 12), "Compressed TGA files not supported."},
      {tgaBytes(2, 1, 2, 2, 32, 12), "Colormapped TGA files not supported."},
      {tgaBytes(2, 0, 2, 2, 32, 12), "Only 24 bit TGA files supported."},
      {tgaBytes(2, 0, 0, 2, 24, 12), "Image size not supported."},
      {tgaBytes(2, 0, 65535, 65535, 24, 12), "Image size not supported."}};
  for (const auto& [bytes, ending] : refusals) {
    platform.files[name] = bytes;
    EXPECT_EQ(load(name), (Message{cannotLoad + ending, "TGA File Error"}));
  }
  const Message cannotRead{"Couldn't read file \"" + name + "\".", "TGA File Error"};
  platform.files[name] = tgaBytes(2, 0, 2, 2, 24, 11);
  EXPECT_EQ(load(name), cannotRead);
  platform.files[name] = Bytes(17, 0);
  EXPECT_EQ(load(name), cannotRead);
  platform.unopenableFiles.push_back(name);
  EXPECT_EQ(load(name), cannotRead);
}

TEST_F(TexturesTest, TgaPixelsFollowTheHeaderAndArePaddedForGl) {
  const RgbImage image = patternImage(2, 4);
  Bytes bytes = tgaBytes(2, 0, 2, 4, 24, 0);
  bytes[0] = 5;  // an identification field length, which the reader does not skip
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      bytes.insert(bytes.end(), {image.at(x, y)[2], image.at(x, y)[1], image.at(x, y)[0]});
    }
  }
  platform.files["p.tga"] = bytes;
  EXPECT_EQ(load("p.tga"), std::nullopt);
  expectTextureShows(image);
}

TEST_F(TexturesTest, JpegFailuresShowTheirMessages) {
  const std::string name = kName + ".jpg";
  EXPECT_EQ(load(name), (Message{"Couldn't load JPG - \"" + name + "\"", "BMP Unit"}));
  platform.files[name] = encodeBitmap(patternImage(2, 2));
  EXPECT_EQ(load(name), (Message{"Couldn't load JPG - \"" + name + "\"", "BMP Unit"}));
  EXPECT_EQ(load(name, true), (Message{"File not found in resource - " + name, "JPG Texture"}));
  EXPECT_EQ(platform.openedResources.back(), "JPEG/C:\\Windows\\Kolvane_Brightrun3");
  platform.resources["JPEG/C:\\Windows\\Kolvane_Brightrun3"] = Bytes{0xFF, 0xD8, 0xFF};
  EXPECT_EQ(load(name, true),
            (Message{"Couldn't load JPG Resource - \"" + name + "\"", "BMP Unit"}));
}

TEST_F(TexturesTest, ResourceWithoutADotHasAnEmptyName) {
  EXPECT_FALSE(readBmpTexture("nodot", slot, true, platform));
  EXPECT_EQ(platform.openedResources.back(), "BMP/");
}

}  // namespace
}  // namespace kb::renderer
