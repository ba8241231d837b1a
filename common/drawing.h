// The small drawing kit the pictures are made with: by the picture generator
// (tools/picture_gen), and by the screensaver program, which draws its
// buttons' skins and the dialog's marks at the screen's resolution. Plain
// IEEE arithmetic, so the same bytes come out with any compiler or library.
#pragma once

#include <cstdint>

#include "common/image.h"

namespace kb {

struct RgbColour {
  std::uint8_t r = 0, g = 0, b = 0;
};

constexpr RgbColour hex(std::uint32_t rrggbb) {
  return {static_cast<std::uint8_t>(rrggbb >> 16), static_cast<std::uint8_t>(rrggbb >> 8),
          static_cast<std::uint8_t>(rrggbb)};
}

// Clamped to 0..255 and rounded.
std::uint8_t clampByte(double value);

// `t` = 0 gives a, 1 gives b.
RgbColour mix(RgbColour a, RgbColour b, double t);

RgbImage makeImage(int width, int height, RgbColour fill = {});
// Pixels off the image are ignored.
void setPixel(RgbImage& image, int x, int y, RgbColour colour);

}  // namespace kb
