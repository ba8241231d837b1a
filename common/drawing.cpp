#include "common/drawing.h"

namespace kb {

std::uint8_t clampByte(double value) {
  if (!(value > 0.0)) return 0;
  if (value >= 255.0) return 255;
  return static_cast<std::uint8_t>(value + 0.5);
}

RgbColour mix(RgbColour a, RgbColour b, double t) {
  return {clampByte(a.r + (b.r - a.r) * t), clampByte(a.g + (b.g - a.g) * t),
          clampByte(a.b + (b.b - a.b) * t)};
}

RgbImage makeImage(int width, int height, RgbColour fill) {
  RgbImage image{width, height, {}};
  image.pixels.resize(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) setPixel(image, x, y, fill);
  return image;
}

void setPixel(RgbImage& image, int x, int y, RgbColour colour) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return;
  std::uint8_t* p = image.pixels.data() + (static_cast<std::size_t>(y) * image.width + x) * 3;
  p[0] = colour.r;
  p[1] = colour.g;
  p[2] = colour.b;
}

}  // namespace kb
