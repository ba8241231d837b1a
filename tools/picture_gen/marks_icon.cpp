#include "tools/picture_gen/marks_icon.h"

#include <cmath>

#include "settings/mark_design.h"
#include "tools/picture_gen/canvas.h"

namespace kb::gen {
namespace {

constexpr int kIconSide = 32;

// 6 x 6 x 6 colour cube followed by 40 greys.
std::array<Rgb, 256> iconPalette() {
  std::array<Rgb, 256> palette{};
  int n = 0;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        palette[n++] = {static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                        static_cast<std::uint8_t>(b * 51)};
  for (int i = 0; n < 256; ++i) {
    const auto grey = static_cast<std::uint8_t>(6 + i * 249 / 39);
    palette[n++] = {grey, grey, grey};
  }
  return palette;
}

std::uint8_t nearestIndex(const std::array<Rgb, 256>& palette, Rgb colour) {
  int best = 0, bestDistance = 1 << 30;
  for (int i = 0; i < 256; ++i) {
    const int dr = palette[i].r - colour.r, dg = palette[i].g - colour.g,
              db = palette[i].b - colour.b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) best = i, bestDistance = d;
  }
  return static_cast<std::uint8_t>(best);
}

constexpr std::uint32_t kWindowTones[6] = {0xF07A2A, 0xC21E9A, 0x3E9A2E,
                                           0xE8B414, 0x1CA8B0, 0x8A4AD0};

// The reel's colour at a pixel centre, or nothing outside its rim.
bool reelPixel(double x, double y, Rgb* colour) {
  const double dx = x - 16, dy = y - 16, r = std::sqrt(dx * dx + dy * dy);
  if (r > 15.5) return false;
  if (r > 13.5 || r < 2.5) {
    *colour = mix(hex(0xE8ECF4), hex(0x6A7488), (y - 1) / 30);  // rim and hub
    return true;
  }
  const double a = angleTurns(dx, dy);
  const int window = static_cast<int>(a * 6) % 6;
  const double within = frac(a * 6);
  if (r > 4.5 && r < 11.5 && within > 0.18 && within < 0.82) {
    *colour = mix(hex(kWindowTones[window]), hex(0xFFFFFF), (11.5 - r) / 20);
    return true;
  }
  *colour = mix(hex(0x3A4258), hex(0x1C2030), r / 14);
  return true;
}

}  // namespace

RgbImage paintEmptyMark() {
  return settings::PaintMark(false, 96);
}

RgbImage paintFilledMark() {
  return settings::PaintMark(true, 96);
}

IndexedIcon paintIcon() {
  IndexedIcon icon;
  icon.side = kIconSide;
  icon.palette = iconPalette();
  for (int y = 0; y < kIconSide; ++y)
    for (int x = 0; x < kIconSide; ++x) {
      Rgb colour;
      const bool inside = reelPixel(x + 0.5, y + 0.5, &colour);
      icon.indices.push_back(inside ? nearestIndex(icon.palette, colour) : 0);
      icon.transparent.push_back(!inside);
    }
  return icon;
}

}  // namespace kb::gen
