#include "common/twips.h"

#include <cmath>

namespace kb {

int usableDpi(int dotsPerInch) {
  return dotsPerInch >= 96 && dotsPerInch <= 480 ? dotsPerInch : kScreenDotsPerInch;
}

int twipsToPixels(int twips, int dotsPerInch) {
  return static_cast<int>(std::lround(static_cast<double>(twips) * dotsPerInch / kTwipsPerInch));
}

int pixelsToTwips(int pixels, int dotsPerInch) {
  return static_cast<int>(
      std::lround(static_cast<double>(pixels) * kTwipsPerInch / usableDpi(dotsPerInch)));
}

int pointsToPixels(double points, int dotsPerInch) {
  return static_cast<int>(std::lround(points * dotsPerInch / 72.0));
}

}  // namespace kb
