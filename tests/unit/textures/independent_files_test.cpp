// The readers fed files that other programs wrote (ImageMagick, cjpeg), with
// the uploaded texture compared against the picture those files hold.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/image.h"
#include "renderer/textures.h"
#include "tests/unit/gl_context.h"
#include "tests/unit/textures/texture_test_support.h"

namespace kb::renderer {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Reads a binary PNM (P5 grey or P6 colour) as RGB, top row first.
RgbImage readPnm(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  RgbImage image;
  in >> magic >> image.width >> image.height >> maxValue;
  in.get();
  const bool grey = magic == "P5";
  const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
  Bytes raw(count * (grey ? 1 : 3));
  in.read(reinterpret_cast<char*>(raw.data()), static_cast<std::streamsize>(raw.size()));
  EXPECT_TRUE((magic == "P5" || magic == "P6") && maxValue == 255 && in) << path;
  for (std::size_t i = 0; i < count; ++i) {
    for (int c = 0; c < 3; ++c) image.pixels.push_back(grey ? raw[i] : raw[i * 3 + c]);
  }
  return image;
}

void writePpm(const fs::path& path, const RgbImage& image) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << image.width << ' ' << image.height << "\n255\n";
  out.write(reinterpret_cast<const char*>(image.pixels.data()),
            static_cast<std::streamsize>(image.pixels.size()));
}

RgbImage gradient(int width, int height) {
  RgbImage image;
  image.width = width;
  image.height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.pixels.insert(image.pixels.end(), {static_cast<std::uint8_t>(255 * x / width),
                                               static_cast<std::uint8_t>(255 * y / height),
                                               static_cast<std::uint8_t>(90 + 13 * (x ^ y))});
    }
  }
  return image;
}

class IndependentFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::path(KB_BINARY_DIR) / "textures_test_files" /
             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(folder);
  }
  void run(const std::string& command) {
    ASSERT_EQ(std::system(("cd '" + folder.string() + "' && " + command).c_str()), 0) << command;
  }
  // Loads a file of the folder through the real file bytes; true on success.
  bool load(const std::string& file) {
    const auto bytes = readFileBytes((folder / file).string());
    EXPECT_TRUE(bytes.has_value()) << file;
    platform.files[file] = bytes.value_or(Bytes{});
    platform.messages.clear();
    slot = 0;
    textureFromFile(file, slot, false, platform);
    return platform.messages.empty() && slot != 0;
  }
  // Every texel equals the picture (bottom row first) within `tolerance`.
  void expectTexture(const RgbImage& picture, int tolerance, int alpha) {
    const auto texture = test::readTexture(slot);
    ASSERT_EQ(texture.width, picture.width);
    ASSERT_EQ(texture.height, picture.height);
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        const std::uint8_t* want = picture.at(x, picture.height - 1 - y);
        const std::uint8_t* got = texture.at(x, y);
        for (int c = 0; c < 3; ++c) {
          ASSERT_NEAR(got[c], want[c], tolerance) << x << "," << y << " channel " << c;
        }
        ASSERT_EQ(got[3], alpha);
      }
    }
  }

  fs::path folder;
  test::OffscreenGlContext gl;
  test::RecordingPlatform platform;
  unsigned int slot = 0;
};

// The expected picture is ImageMagick's own reading of each file, turned the
// way the file's origin says it is shown: ImageMagick 6 writes a TGA with its
// rows top first yet flags a bottom-left origin, and the reader, which ignores
// the origin, must show it the way the flag says.
TEST_F(IndependentFilesTest, ImageMagickBitmapsAndTgasLoadPixelExact) {
  for (const auto& [width, height] : {std::pair{2, 4}, std::pair{1, 8}, std::pair{16, 8}}) {
    writePpm(folder / "in.ppm", gradient(width, height));
    run("convert in.ppm -type TrueColor BMP3:in.bmp && convert in.ppm -compress none in.tga");
    for (const std::string file : {"in.bmp", "in.tga"}) {
      run("convert " + file + " -auto-orient shown.ppm");
      ASSERT_TRUE(load(file)) << file << " " << width << "x" << height;
      expectTexture(readPnm(folder / "shown.ppm"), 0, 255);
    }
  }
}

TEST_F(IndependentFilesTest, CjpegFilesLoadAsOpaqueRgbaMatchingDjpeg) {
  writePpm(folder / "in.ppm", gradient(32, 16));
  run("cjpeg -quality 85 in.ppm > colour.jpg && cjpeg -grayscale in.ppm > grey.jpg");
  for (const std::string name : {"colour", "grey"}) {
    run("djpeg -pnm " + name + ".jpg > " + name + ".pnm");
    ASSERT_TRUE(load(name + ".jpg")) << name;
    expectTexture(readPnm(folder / (name + ".pnm")), 0, 255);
    GLint format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    EXPECT_EQ(format, GL_RGBA);
  }
}

// Replaces the first two-byte marker `from` after the start of image by `to`.
void replaceMarker(Bytes& jpeg, std::uint8_t from, std::uint8_t to) {
  for (std::size_t i = 2; i + 1 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == from) {
      jpeg[i + 1] = to;
      return;
    }
  }
  ADD_FAILURE() << "marker not found";
}

TEST_F(IndependentFilesTest, JpegsThatFailAfterTheirHeaderOrAreTooLargeShowTheLoadMessage) {
  writePpm(folder / "in.ppm", gradient(16, 16));
  run("cjpeg -baseline in.ppm > in.jpg");
  const Bytes good = readFileBytes((folder / "in.jpg").string()).value();
  const std::string message = "Couldn't load JPG - \"in.jpg\"";

  Bytes noTables = good;
  replaceMarker(noTables, 0xDB, 0xFE);  // quantisation tables become a comment
  std::ofstream(folder / "in.jpg", std::ios::binary)
      .write(reinterpret_cast<const char*>(noTables.data()), noTables.size());
  EXPECT_FALSE(load("in.jpg"));
  EXPECT_EQ(platform.messages, (std::vector<test::Message>{{message, "BMP Unit"}}));

  Bytes huge = good;  // the frame header claims 4097 x 4096 pixels
  for (std::size_t i = 2; i + 8 < huge.size(); ++i) {
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
      huge[i + 5] = 0x10;
      huge[i + 6] = 0x00;
      huge[i + 7] = 0x10;
      huge[i + 8] = 0x01;
      break;
    }
  }
  std::ofstream(folder / "in.jpg", std::ios::binary)
      .write(reinterpret_cast<const char*>(huge.data()), huge.size());
  EXPECT_FALSE(load("in.jpg"));
  EXPECT_EQ(platform.messages, (std::vector<test::Message>{{message, "BMP Unit"}}));
}

}  // namespace
}  // namespace kb::renderer
