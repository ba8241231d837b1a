// Face geometry of the Command button: frame pieces, pixel conversion,
// gradient vertices and the caption's place.
#include "controls/face_geometry.h"

#include <gtest/gtest.h>

#include <ostream>

#include "controls/skin_design.h"

namespace kb::controls {

void PrintTo(const Rect& r, std::ostream* out) {
  *out << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}

namespace {

// A pixel of a picture as 0xRRGGBB.
std::uint32_t Pixel(const RgbImage& image, int x, int y) {
  const std::uint8_t* p = image.at(x, y);
  return static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
}

TEST(SkinAtResolution, EachFrameLineGrowsWithTheScaleInItsOwnColour) {
  // At 96 the pictures are the assets (the picture generator's own check).
  for (const Skin skin : {Skin::Normal, Skin::Pressed}) {
    const RgbImage small = PaintSkin(skin, 96), large = PaintSkin(skin, 192);
    ASSERT_EQ(large.width, 128);
    ASSERT_EQ(large.height, 50);
    for (int ring = 0; ring < 4; ++ring)
      for (int line : {2 * ring, 2 * ring + 1}) {
        EXPECT_EQ(Pixel(large, 40, line), Pixel(small, 20, ring)) << ring;
        EXPECT_EQ(Pixel(large, 40, 49 - line), Pixel(small, 20, 24 - ring)) << ring;
        if (ring < 2) {  // the outer side columns are flat; the inner ones shade
          EXPECT_EQ(Pixel(large, 127 - line, 25), Pixel(small, 63 - ring, 12)) << ring;
        }
      }
  }
  const RgbImage between = PaintSkin(Skin::Selected, 144);
  EXPECT_EQ(between.width, 96);
  EXPECT_EQ(between.height, 38);
  EXPECT_EQ(Pixel(between, 48, 1), 0x003C74u) << "the frame line, a pixel and a half down";
}

TEST(FramePieces, SkinSizedFaceIsDrawnUnstretched) {
  const FramePieces pieces = ComputeFramePieces(960, 375, FramePieces{});
  for (const FramePiece& piece : pieces) {
    EXPECT_EQ(piece.destination.width, piece.source.width);
    EXPECT_EQ(piece.destination.height, piece.source.height);
    const Rect destination = TwipsToPixels(piece.destination);
    const Rect source = TwipsToPixels(piece.source);
    EXPECT_EQ(destination.width, source.width) << ::testing::PrintToString(destination);
    EXPECT_EQ(destination.height, source.height) << ::testing::PrintToString(destination);
  }
}

TEST(FramePieces, SmallestInstanceKeepsCornersAndShortensEdges) {
  const FramePieces p = ComputeFramePieces(435, 315, FramePieces{});
  for (int corner : {0, 2, 4, 6}) {
    EXPECT_EQ(p[corner].destination.width, 60);
    EXPECT_EQ(p[corner].destination.height, 60);
  }
  for (int edge : {1, 5}) {
    EXPECT_EQ(p[edge].destination.width, 315);
    EXPECT_EQ(p[edge].destination.height, 60);
  }
  for (int edge : {3, 7}) {
    EXPECT_EQ(p[edge].destination.width, 60);
    EXPECT_EQ(p[edge].destination.height, 195);
  }
  // In pixels (29 x 21): a 4-pixel frame whose pieces meet without gap or overlap.
  EXPECT_EQ(TwipsToPixels(p[0].destination), (Rect{0, 0, 4, 4}));
  EXPECT_EQ(TwipsToPixels(p[1].destination), (Rect{4, 0, 21, 4}));
  EXPECT_EQ(TwipsToPixels(p[2].destination), (Rect{25, 0, 4, 4}));
  EXPECT_EQ(TwipsToPixels(p[3].destination), (Rect{25, 4, 4, 13}));
  EXPECT_EQ(TwipsToPixels(p[4].destination), (Rect{25, 17, 4, 4}));
  EXPECT_EQ(TwipsToPixels(p[5].destination), (Rect{4, 17, 21, 4}));
  EXPECT_EQ(TwipsToPixels(p[6].destination), (Rect{0, 17, 4, 4}));
  EXPECT_EQ(TwipsToPixels(p[7].destination), (Rect{0, 4, 4, 13}));
}

TEST(FramePieces, SourcesCutTheFourPixelBandOfTheSkin) {
  const FramePieces p = ComputeFramePieces(1095, 375, FramePieces{});
  const Rect expected[] = {{0, 0, 4, 4},   {4, 0, 56, 4},  {60, 0, 4, 4}, {60, 4, 4, 17},
                           {60, 21, 4, 4}, {4, 21, 56, 4}, {0, 21, 4, 4}, {0, 4, 4, 17}};
  for (std::size_t i = 0; i < p.size(); ++i) {
    EXPECT_EQ(TwipsToPixels(p[i].source), expected[i]) << "piece " << i;
  }
  // The 1-twip insets of the geometry stay in the twips values.
  EXPECT_EQ(p[0].destination.left, 1);
  EXPECT_EQ(p[1].source.top, 1);
  EXPECT_EQ(p[7].source.left, 1);
}

TEST(FramePieces, SizeBeyond16BitsKeepsThePreviousValuesOfThatAxis) {
  const FramePieces before = ComputeFramePieces(1095, 375, FramePieces{});
  const FramePieces after = ComputeFramePieces(40000, 420, before);
  for (std::size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].destination.left, before[i].destination.left);
    EXPECT_EQ(after[i].destination.width, before[i].destination.width);
  }
  EXPECT_EQ(after[4].destination.top, 360);
  EXPECT_EQ(after[3].destination.height, 300);
}

TEST(GradientColours, HexPairsAreRedGreenBlueInTheHighByte) {
  EXPECT_EQ(ParseGradientColour("&HFFFFFF"), (Colour16{0xFF00, 0xFF00, 0xFF00}));
  EXPECT_EQ(ParseGradientColour("&HC6C5D7"), (Colour16{0xC600, 0xC500, 0xD700}));
  EXPECT_EQ(ParseGradientColour("&h0a0b0c"), std::nullopt);
  EXPECT_EQ(ParseGradientColour("&H0a0B0c"), (Colour16{0x0A00, 0x0B00, 0x0C00}));
  for (const char* bad : {"", "&H", "FFFFFF", "&HFFFFF", "&HFFFFFFF", "&HGG0000", "&H-10000"}) {
    EXPECT_EQ(ParseGradientColour(bad), std::nullopt) << bad;
  }
}

TEST(GradientColours, VerticesByDirection) {
  const Colour16 white{0xFF00, 0xFF00, 0xFF00};
  const Colour16 lavender{0xC600, 0xC500, 0xD700};
  const auto normal = GradientVertices(false, 73, 25);
  EXPECT_EQ(normal[0].x, 0);
  EXPECT_EQ(normal[0].y, 0);
  EXPECT_EQ(normal[1].x, 72);
  EXPECT_EQ(normal[1].y, 24);
  EXPECT_EQ(normal[0].colour, white);
  EXPECT_EQ(normal[1].colour, lavender);
  const auto reversed = GradientVertices(true, 73, 25);
  EXPECT_EQ(reversed[0].colour, lavender);
  EXPECT_EQ(reversed[1].colour, white);
}

TEST(CaptionPlace, TenTwipsAboveTheMiddle) {
  EXPECT_DOUBLE_EQ(CaptionTop(375), 80.0);
  EXPECT_DOUBLE_EQ(CaptionTop(315), 50.0);
  EXPECT_DOUBLE_EQ(CaptionTop(420), 102.5);
}

}  // namespace
}  // namespace kb::controls
