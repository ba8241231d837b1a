#include "settings/mark_design.h"

#include <algorithm>
#include <cmath>

#include "common/drawing.h"

namespace kb::settings {
namespace {

constexpr int kSide = 12;  // pixels at 96 dots per inch, border included

struct MarkDesign {
  RgbColour border, insideTop, insideBottom;
};

constexpr MarkDesign kEmpty{hex(0x404040), hex(0xFFFFFF), hex(0xF0F0F0)};
constexpr MarkDesign kFilled{hex(0x003C74), hex(0x5A9AF0), hex(0x1846C8)};

}  // namespace

RgbImage PaintMark(bool filled, int dotsPerInch) {
  const MarkDesign& design = filled ? kFilled : kEmpty;
  const double scale = dotsPerInch / 96.0;
  const int side = static_cast<int>(std::lround(kSide * scale));
  const int border = std::max(1, static_cast<int>(std::lround(scale)));
  RgbImage mark = makeImage(side, side, design.border);
  for (int y = border; y < side - border; ++y) {
    // The shading runs over the inner rows 1 to 10 of the 12-pixel design.
    const double designRow = (y + 0.5) / scale - 0.5;
    const double t = std::clamp((designRow - 1) / double(kSide - 3), 0.0, 1.0);
    for (int x = border; x < side - border; ++x)
      setPixel(mark, x, y, mix(design.insideTop, design.insideBottom, t));
  }
  return mark;
}

}  // namespace kb::settings
