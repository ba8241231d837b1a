#include "tools/picture_gen/canvas.h"

#include <cmath>

namespace kb::gen {
namespace {

std::uint8_t toByte(double value01) {
  return clampByte(value01 * 255.0);
}

}  // namespace

double frac(double value) {
  return value - std::floor(value);
}

double sinTurns(double turns) {
  // Fold into a quarter turn, then an odd Taylor series (error below 1e-9).
  double x = turns - std::floor(turns + 0.5);  // -0.5 .. 0.5
  if (x > 0.25) x = 0.5 - x;
  if (x < -0.25) x = -0.5 - x;
  const double t = x * 6.283185307179586;
  const double t2 = t * t;
  return t *
         (1 -
          t2 / 6 * (1 - t2 / 20 * (1 - t2 / 42 * (1 - t2 / 72 * (1 - t2 / 110 * (1 - t2 / 156))))));
}

double cosTurns(double turns) {
  return sinTurns(turns + 0.25);
}

double angleTurns(double x, double y) {
  if (x == 0.0 && y == 0.0) return 0.0;
  // atan on |ratio| <= 1 by a minimax polynomial, then placed by octant.
  const double ax = std::fabs(x), ay = std::fabs(y);
  const bool steep = ay > ax;
  const double z = steep ? ax / ay : ay / ax;
  const double z2 = z * z;
  double a =
      z * (0.9998660 + z2 * (-0.3302995 + z2 * (0.1801410 + z2 * (-0.0851330 + z2 * 0.0208351))));
  a /= 6.283185307179586;  // radians to turns
  if (steep) a = 0.25 - a;
  if (x < 0) a = 0.5 - a;
  if (y < 0) a = 1.0 - a;
  return a >= 1.0 ? a - 1.0 : a;
}

double smoothstep(double edge0, double edge1, double x) {
  double t = (x - edge0) / (edge1 - edge0);
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  return t * t * (3 - 2 * t);
}

double hash01(int x, int y, int seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                    static_cast<std::uint32_t>(y) * 668265263u +
                    static_cast<std::uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / 16777216.0;
}

Rgb hue(double turns) {
  const double h = frac(turns) * 6.0;
  const int sector = static_cast<int>(h);
  const double f = h - sector;
  switch (sector) {
    case 0:
      return {255, toByte(f), 0};
    case 1:
      return {toByte(1 - f), 255, 0};
    case 2:
      return {0, 255, toByte(f)};
    case 3:
      return {0, toByte(1 - f), 255};
    case 4:
      return {toByte(f), 0, 255};
    default:
      return {255, 0, toByte(1 - f)};
  }
}

}  // namespace kb::gen
