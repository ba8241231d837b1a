// Geometry and colours of the Command button's face: the eight frame pieces
// cut from a skin picture, the gradient behind them and the caption's place.
// Everything here is plain arithmetic so that it is tested natively.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "common/twips.h"

namespace kb::controls {

// Skin picture layout, in twips: the frame is cut from a 64 x 25 pixel picture.
constexpr int kFrameInset = 1;
constexpr int kFrameThickness = 60;
constexpr int kPictureWidth = 960;
constexpr int kPictureHeight = 375;
constexpr int kPictureMiddleWidth = kPictureWidth - 2 * kFrameThickness;    // 840
constexpr int kPictureMiddleHeight = kPictureHeight - 2 * kFrameThickness;  // 255
constexpr int kPictureRight = kPictureWidth - kFrameThickness;              // 900
constexpr int kPictureBottom = kPictureHeight - kFrameThickness;            // 315

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
  }
};

struct FramePiece {
  Rect destination;  // on the face, twips
  Rect source;       // in the skin picture, twips
};

// The pieces in drawing order: top-left corner, top edge, top-right corner,
// right edge, bottom-right corner, bottom edge, bottom-left corner, left edge.
using FramePieces = std::array<FramePiece, 8>;

// Pieces for a face of `width` x `height` twips. The face arithmetic is
// 16-bit: a size that does not fit leaves the values that depend on it as
// they were in `previous` (the pieces of the previous paint).
FramePieces ComputeFramePieces(int width, int height, const FramePieces& previous);

// A twips rectangle in whole pixels at `dotsPerInch`: each edge rounded to
// the nearest pixel, so adjoining pieces meet without gaps and the 1-twip
// insets stay in place.
Rect TwipsToPixels(const Rect& twips, int dotsPerInch = kScreenDotsPerInch);

// A 16-bit-per-channel colour as a TRIVERTEX carries it.
struct Colour16 {
  std::uint16_t red = 0;
  std::uint16_t green = 0;
  std::uint16_t blue = 0;
  friend bool operator==(const Colour16& a, const Colour16& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
  }
};

// Reads "&HRRGGBB" (pairs in red, green, blue order; 8-bit value in the high
// byte of each channel). nullopt for text of any other form.
std::optional<Colour16> ParseGradientColour(std::string_view text);

constexpr std::string_view kGradientLight = "&HFFFFFF";
constexpr std::string_view kGradientLavender = "&HC6C5D7";

struct GradientVertex {
  std::int32_t x = 0;
  std::int32_t y = 0;
  Colour16 colour;
};

// The two vertices of the vertical face gradient for a client area of
// `widthPixels` x `heightPixels`: top colour first.
std::array<GradientVertex, 2> GradientVertices(bool reversed, int widthPixels, int heightPixels);

// Height of the caption label: one line of the caption font.
constexpr int kCaptionHeight = 195;

// Top of the caption label in twips: 10 twips above the vertical middle.
double CaptionTop(int faceHeight, int captionHeight = kCaptionHeight);

}  // namespace kb::controls
