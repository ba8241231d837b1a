// Small drawing kit for the picture generator. Everything is plain IEEE
// arithmetic (no libm transcendental calls), so the pictures come out the same
// bytes with any optimisation level or C library.
#pragma once

#include <cstdint>

#include "common/image.h"

namespace kb::gen {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

constexpr Rgb hex(std::uint32_t rrggbb) {
  return {static_cast<std::uint8_t>(rrggbb >> 16), static_cast<std::uint8_t>(rrggbb >> 8),
          static_cast<std::uint8_t>(rrggbb)};
}

// 0..1 clamped, rounded to the nearest 8-bit value.
std::uint8_t toByte(double value01);
// Clamped to 0..255 and rounded.
std::uint8_t clampByte(double value);

// `t` = 0 gives a, 1 gives b.
Rgb mix(Rgb a, Rgb b, double t);

// Sine and cosine of a whole turn (1.0 = 360 degrees).
double sinTurns(double turns);
double cosTurns(double turns);
// Angle of (x, y) in turns, 0 to 1, counter-clockwise from +x.
double angleTurns(double x, double y);
// Fractional part, always 0 <= f < 1.
double frac(double value);
double smoothstep(double edge0, double edge1, double x);

// Repeatable pseudo-random value 0..1 for integer coordinates.
double hash01(int x, int y, int seed);

// Hue 0..1 around the colour wheel at full saturation and value.
Rgb hue(double turns);

RgbImage makeImage(int width, int height, Rgb fill = {});
void setPixel(RgbImage& image, int x, int y, Rgb colour);
Rgb getPixel(const RgbImage& image, int x, int y);
// Blends `colour` over the pixel with coverage `alpha` (0..1); off-image is ignored.
void blendPixel(RgbImage& image, int x, int y, Rgb colour, double alpha);

}  // namespace kb::gen
