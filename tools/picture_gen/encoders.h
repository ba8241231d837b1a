// File formats the generator writes besides the 24-bit bitmaps (which come
// from kb::encodeBitmap, the same layout the slide hand-off uses).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "common/image.h"
#include "tools/picture_gen/canvas.h"

namespace kb::gen {

// Baseline JPEG, 3 components (YCbCr from RGB), fixed quality and settings so
// the bytes are repeatable.
std::vector<std::uint8_t> encodeBaselineJpeg(const RgbImage& image, int quality);

// A 256-colour icon image: palette indices top row first, and a mask where
// true marks a transparent pixel.
struct IndexedIcon {
  int side = 0;  // width and height; a multiple of 32 keeps the rows unpadded
  std::array<Rgb, 256> palette{};
  std::vector<std::uint8_t> indices;
  std::vector<bool> transparent;
};

// An .ico file holding one 8-bit image: icon directory, BITMAPINFOHEADER with
// the doubled height, palette, colour rows and the 1-bit AND mask, bottom up.
std::vector<std::uint8_t> encodeIcon(const IndexedIcon& icon);

}  // namespace kb::gen
