#include "controls/skin_design.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/drawing.h"

namespace kb::controls {
namespace {

constexpr int kWidth = 64, kHeight = 25, kBand = 4;
constexpr int kShadeTop = 4, kShadeMiddle = 12, kShadeBottom = 20;
constexpr int kRunFirstColumn = 32;
constexpr RgbColour kDialog = hex(0xECE9D8);
constexpr RgbColour kTopRun = hex(0xDCD6C2), kBottomRun = hex(0xFAFAF6);

// A side-band column's colour at rows 4, 12 and 20, interpolated between.
struct Shade {
  RgbColour top, middle, bottom;
};

constexpr Shade flat(std::uint32_t colour) {
  return {hex(colour), hex(colour), hex(colour)};
}
constexpr Shade shaded(std::uint32_t top, std::uint32_t middle, std::uint32_t bottom) {
  return {hex(top), hex(middle), hex(bottom)};
}

struct SkinDesign {
  std::array<std::uint32_t, 4> topRows;     // rows 0 to 3
  std::array<std::uint32_t, 4> bottomRows;  // rows 21 to 24
  std::array<Shade, 4> leftColumns;         // columns 0 to 3
  std::array<Shade, 4> rightColumns;        // columns 60 to 63
  int frameRing;                            // 1, or 2 where the frame sits one pixel in
  int runLastColumn;                        // of the light runs on the outermost rows
  bool hasReferenceCorner;                  // top left drawn from kNormalTopLeft
};

// The reference corner (Normal, top left); the others are built to match it.
constexpr std::uint32_t kNormalTopLeft[4][4] = {
    {0xE9E7D5, 0xE4DFCE, 0xE1DDCA, 0xE0DCC9},
    {0xE4DFCE, 0xE6E1D0, 0x7A95A8, 0x255783},
    {0xE2DECB, 0x7A95A8, 0x557DA2, 0xC0CFDD},
    {0xE2DECB, 0x255783, 0xBFCEDC, 0xFEFEFE},
};

const SkinDesign kDesigns[] = {
    {// Normal
     {0xE0DCC9, 0x003C74, 0xF3F3EE, 0xF3F3EE},
     {0xE2DFD6, 0xD6D0C5, 0x003C74, 0xF8F7F0},
     {flat(0xE2DECB), flat(0x003C74), shaded(0xFDFDFC, 0xF4F4F0, 0xECEBE6),
      shaded(0xFDFDFC, 0xF4F4F0, 0xEBEBE5)},
     {shaded(0xFBFBFA, 0xEEEDE7, 0xE4E2DA), shaded(0xF6F4F2, 0xE8E5DF, 0xE0DDD4), flat(0x003C74),
      flat(0xF0EEE0)},
     1,
     56,
     true},
    {// HighLight
     {0xE0DCC9, 0x003C74, 0xFFF0CF, 0xFDD889},
     {0xF8B330, 0xE59700, 0x003C74, 0xF8F7F0},
     {flat(0xE2DECB), flat(0x003C74), shaded(0xFEDF9A, 0xFCCA69, 0xF9B435),
      shaded(0xFCD279, 0xFBCA6A, 0xF8B535)},
     {shaded(0xFCD279, 0xFBCA6A, 0xF8B535), shaded(0xFDE09B, 0xFCCA69, 0xF8B435), flat(0x003C74),
      flat(0xF0EEE0)},
     1,
     56,
     false},
    {// Selected
     {0xE0DCC9, 0x003C74, 0xCEE7FF, 0xCEE7FF},
     {0x6982EE, 0x6982EE, 0x003C74, 0xF8F7F0},
     {flat(0xE2DECB), flat(0x003C74), shaded(0xB7D0F4, 0xA9C5EF, 0x8BADE4),
      shaded(0xB8D1F4, 0xA8C6F0, 0x8BADE4)},
     {shaded(0xB1CCF2, 0xA9C5EF, 0x8BAFE5), shaded(0xB1CCF2, 0xA9C5EF, 0x8BAFE5), flat(0x003C74),
      flat(0xF0EEE0)},
     1,
     56,
     false},
    {// Pressed
     {0xECE9D8, 0xE0DCC9, 0x003C74, 0xD1CCC1},
     {0xF2F1EE, 0x003C74, 0xF8F7F0, 0xECE9D8},
     {flat(0xECE9D8), flat(0xE2DECB), flat(0x003C74), shaded(0xA0ABB1, 0xD7D4CB, 0xBCC5C7)},
     {shaded(0xA9B5BD, 0xE4E3DC, 0xC4CED2), flat(0x003C74), flat(0xF0EEE0), flat(0xECE9D8)},
     2,
     55,
     false},
    {// Disable
     {0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA},
     {0xF5F4EA, 0xF5F4EA, 0xC9C7BA, 0xECE9D8},
     {flat(0xECE9D8), flat(0xC9C7BA), flat(0xF5F4EA), flat(0xF5F4EA)},
     {flat(0xF5F4EA), flat(0xF5F4EA), flat(0xC9C7BA), flat(0xECE9D8)},
     1,
     56,
     false},
};

// Linear between the three given rows, rounded to the nearest value; `row`
// may lie between two of the picture's rows.
RgbColour shadeAt(const Shade& shade, double row) {
  if (row <= kShadeTop) return shade.top;
  if (row >= kShadeBottom) return shade.bottom;
  if (row <= kShadeMiddle)
    return mix(shade.top, shade.middle, (row - kShadeTop) / double(kShadeMiddle - kShadeTop));
  return mix(shade.middle, shade.bottom,
             (row - kShadeMiddle) / double(kShadeBottom - kShadeMiddle));
}

// How each pixel of a softened corner is made, in rings counted from the
// corner's two outer edges, with the frame ring at (1, 1).
enum class Blend { Straight, TowardDialog, OuterTowardDialog, FrameTowardOuter, FrameTowardInner };
struct CornerPixel {
  Blend blend;
  double weight;
};
constexpr CornerPixel kCornerShape[4][4] = {
    {{Blend::TowardDialog, 0.7},
     {Blend::TowardDialog, 0.4},
     {Blend::Straight, 0},
     {Blend::Straight, 0}},
    {{Blend::TowardDialog, 0.4},
     {Blend::OuterTowardDialog, 0.35},
     {Blend::FrameTowardOuter, 0.55},
     {Blend::FrameTowardOuter, 0.17}},
    {{Blend::Straight, 0},
     {Blend::FrameTowardOuter, 0.55},
     {Blend::FrameTowardInner, 0.35},
     {Blend::FrameTowardInner, 0.75}},
    {{Blend::Straight, 0},
     {Blend::FrameTowardOuter, 0.17},
     {Blend::FrameTowardInner, 0.75},
     {Blend::Straight, 0}},
};

class CornerPainter {
 public:
  CornerPainter(const SkinDesign& design, bool top, bool left)
      : design_(design), top_(top), left_(left) {}

  // Pixel `ringsDown` rings from the horizontal edge and `ringsAcross` from the vertical one.
  RgbColour pixel(int ringsDown, int ringsAcross) const {
    const int shift = design_.frameRing - 1;
    const int a = ringsDown - shift, b = ringsAcross - shift;
    const RgbColour straight = ring(std::min(ringsDown, ringsAcross), ringsDown, ringsAcross);
    if (a < 0 || b < 0) return straight;
    const CornerPixel shape = kCornerShape[a][b];
    const int f = design_.frameRing;
    const RgbColour frame = ring(f, ringsDown, ringsAcross);
    switch (shape.blend) {
      case Blend::TowardDialog:
        return mix(straight, kDialog, shape.weight);
      case Blend::OuterTowardDialog:
        return mix(ring(f - 1, ringsDown, ringsAcross), kDialog, shape.weight);
      case Blend::FrameTowardOuter:
        return mix(frame, ring(f - 1, ringsDown, ringsAcross), shape.weight);
      case Blend::FrameTowardInner:
        return mix(frame, ring(std::min(f + 1, kBand - 1), ringsDown, ringsAcross), shape.weight);
      case Blend::Straight:
        break;
    }
    return straight;
  }

 private:
  // Colour of ring `index` where the pixel lies: along the top or bottom band
  // when it is no further from that edge than from the side edge.
  RgbColour ring(int index, int ringsDown, int ringsAcross) const {
    if (ringsDown <= ringsAcross)
      return hex(top_ ? design_.topRows[index] : design_.bottomRows[kBand - 1 - index]);
    const Shade& column =
        left_ ? design_.leftColumns[index] : design_.rightColumns[kBand - 1 - index];
    return top_ ? column.top : column.bottom;
  }

  const SkinDesign& design_;
  bool top_, left_;
};

void paintCorners(RgbImage& image, const SkinDesign& design) {
  for (const bool top : {true, false})
    for (const bool left : {true, false}) {
      const CornerPainter painter(design, top, left);
      for (int i = 0; i < kBand; ++i)
        for (int j = 0; j < kBand; ++j) {
          const int row = top ? i : kHeight - 1 - i, column = left ? j : kWidth - 1 - j;
          const bool reference = design.hasReferenceCorner && top && left;
          setPixel(image, column, row, reference ? hex(kNormalTopLeft[i][j]) : painter.pixel(i, j));
        }
    }
}

RgbImage paintSkin(const SkinDesign& design) {
  RgbImage image = makeImage(kWidth, kHeight);
  for (int row = kBand; row < kHeight - kBand; ++row) {
    for (int column = 0; column < kWidth; ++column) {
      // The face, never drawn by the button, continues the inner ring's shading.
      const Shade& shade = column < kBand ? design.leftColumns[column]
                           : column >= kWidth - kBand
                               ? design.rightColumns[column - (kWidth - kBand)]
                               : design.leftColumns[kBand - 1];
      setPixel(image, column, row, shadeAt(shade, row));
    }
  }
  const int runTop = design.frameRing - 1, runBottom = kHeight - design.frameRing;
  for (int ring = 0; ring < kBand; ++ring) {
    const int topRow = ring, bottomRow = kHeight - kBand + ring;
    for (int column = kBand; column < kWidth - kBand; ++column) {
      const bool inRun = column >= kRunFirstColumn && column <= design.runLastColumn;
      setPixel(image, column, topRow,
               inRun && topRow == runTop ? kTopRun : hex(design.topRows[ring]));
      setPixel(image, column, bottomRow,
               inRun && bottomRow == runBottom ? kBottomRun : hex(design.bottomRows[ring]));
    }
  }
  paintCorners(image, design);
  return image;
}

const SkinDesign& DesignOf(Skin skin) {
  switch (skin) {
    case Skin::HighLight:
    case Skin::HighLightSelect:  // the same picture, pixel for pixel
      return kDesigns[1];
    case Skin::Selected:
      return kDesigns[2];
    case Skin::Pressed:
      return kDesigns[3];
    case Skin::Disable:
      return kDesigns[4];
    default:
      return kDesigns[0];
  }
}

// The picture's row or column that device pixel `at` of `deviceSize` shows,
// counted from the nearer edge so that both edges' bands keep their width.
int DesignIndex(int at, int deviceSize, int designSize, double scale) {
  if (2 * at < deviceSize) return std::min(static_cast<int>((at + 0.5) / scale), designSize / 2);
  const int fromEnd = static_cast<int>((deviceSize - 1 - at + 0.5) / scale);
  return designSize - 1 - std::min(fromEnd, designSize / 2);
}

}  // namespace

RgbImage PaintSkin(Skin skin, int dotsPerInch) {
  const SkinDesign& design = DesignOf(skin);
  const RgbImage picture = paintSkin(design);
  const double scale = dotsPerInch / 96.0;
  const int width = static_cast<int>(std::lround(kWidth * scale));
  const int height = static_cast<int>(std::lround(kHeight * scale));
  RgbImage image = makeImage(width, height);
  for (int y = 0; y < height; ++y) {
    const int row = DesignIndex(y, height, kHeight, scale);
    const double exactRow = (y + 0.5) / scale - 0.5;
    for (int x = 0; x < width; ++x) {
      const int column = DesignIndex(x, width, kWidth, scale);
      const std::uint8_t* p = picture.at(column, row);
      RgbColour colour{p[0], p[1], p[2]};
      const bool sideBand = column < kBand || column >= kWidth - kBand;
      if (sideBand && row >= kBand && row < kHeight - kBand) {
        const Shade& shade = column < kBand ? design.leftColumns[column]
                                            : design.rightColumns[column - (kWidth - kBand)];
        colour = shadeAt(shade, exactRow);
      }
      setPixel(image, x, y, colour);
    }
  }
  return image;
}

}  // namespace kb::controls
