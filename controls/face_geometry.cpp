#include "controls/face_geometry.h"

#include <cmath>
#include <limits>

namespace kb::controls {
namespace {

bool Fits16(int value) {
  return value >= std::numeric_limits<std::int16_t>::min() &&
         value <= std::numeric_limits<std::int16_t>::max();
}

// Pieces of the frame that depend only on the picture's constants.
FramePieces SourcePieces() {
  const int t = kFrameThickness;
  FramePieces pieces{};
  pieces[0].source = {0, 0, t, t};
  pieces[1].source = {t, kFrameInset, kPictureMiddleWidth, t};
  pieces[2].source = {kPictureRight, kFrameInset, t, t};
  pieces[3].source = {kPictureRight, t, t, kPictureMiddleHeight};
  pieces[4].source = {kPictureRight, kPictureBottom, t, t};
  pieces[5].source = {t, kPictureBottom, kPictureMiddleWidth, t};
  pieces[6].source = {0, kPictureBottom, t, t};
  pieces[7].source = {kFrameInset, t, t, kPictureMiddleHeight};
  return pieces;
}

void SetHorizontal(FramePieces& p, int w) {
  const int t = kFrameThickness;
  const int middle = w - 2 * t;
  p[0].destination.left = kFrameInset, p[0].destination.width = t;
  p[1].destination.left = t, p[1].destination.width = middle;
  p[2].destination.left = w - t, p[2].destination.width = t;
  p[3].destination.left = w - t, p[3].destination.width = t;
  p[4].destination.left = w - t, p[4].destination.width = t;
  p[5].destination.left = t, p[5].destination.width = middle;
  p[6].destination.left = kFrameInset, p[6].destination.width = t;
  p[7].destination.left = kFrameInset, p[7].destination.width = t;
}

void SetVertical(FramePieces& p, int h) {
  const int t = kFrameThickness;
  const int middle = h - 2 * t;
  p[0].destination.top = kFrameInset, p[0].destination.height = t;
  p[1].destination.top = kFrameInset, p[1].destination.height = t;
  p[2].destination.top = kFrameInset, p[2].destination.height = t;
  p[3].destination.top = t, p[3].destination.height = middle;
  p[4].destination.top = h - t, p[4].destination.height = t;
  p[5].destination.top = h - t, p[5].destination.height = t;
  p[6].destination.top = h - t, p[6].destination.height = t;
  p[7].destination.top = t, p[7].destination.height = middle;
}

std::optional<int> HexPair(std::string_view text) {
  int value = 0;
  for (char c : text) {
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      return std::nullopt;
    }
    value = value * 16 + digit;
  }
  return value;
}

}  // namespace

FramePieces ComputeFramePieces(int width, int height, const FramePieces& previous) {
  FramePieces pieces = previous;
  const FramePieces sources = SourcePieces();
  for (std::size_t i = 0; i < pieces.size(); ++i) pieces[i].source = sources[i].source;
  if (Fits16(width) && Fits16(width - 2 * kFrameThickness)) SetHorizontal(pieces, width);
  if (Fits16(height) && Fits16(height - 2 * kFrameThickness)) SetVertical(pieces, height);
  return pieces;
}

Rect TwipsToPixels(const Rect& twips, int dotsPerInch) {
  const int left = twipsToPixels(twips.left, dotsPerInch);
  const int top = twipsToPixels(twips.top, dotsPerInch);
  return {left, top, twipsToPixels(twips.left + twips.width, dotsPerInch) - left,
          twipsToPixels(twips.top + twips.height, dotsPerInch) - top};
}

std::optional<Colour16> ParseGradientColour(std::string_view text) {
  if (text.size() != 8 || text.substr(0, 2) != "&H") return std::nullopt;
  const auto red = HexPair(text.substr(2, 2));
  const auto green = HexPair(text.substr(4, 2));
  const auto blue = HexPair(text.substr(6, 2));
  if (!red || !green || !blue) return std::nullopt;
  return Colour16{static_cast<std::uint16_t>(*red << 8), static_cast<std::uint16_t>(*green << 8),
                  static_cast<std::uint16_t>(*blue << 8)};
}

std::array<GradientVertex, 2> GradientVertices(bool reversed, int widthPixels, int heightPixels) {
  const Colour16 light = ParseGradientColour(kGradientLight).value_or(Colour16{});
  const Colour16 lavender = ParseGradientColour(kGradientLavender).value_or(Colour16{});
  GradientVertex top{0, 0, reversed ? lavender : light};
  GradientVertex bottom{widthPixels - 1, heightPixels - 1, reversed ? light : lavender};
  return {top, bottom};
}

double CaptionTop(int faceHeight, int captionHeight) {
  return (static_cast<double>(faceHeight) - captionHeight - 20) / 2;
}

}  // namespace kb::controls
