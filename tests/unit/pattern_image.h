// A picture whose every pixel and channel differ from their neighbours, so a
// row, column or channel out of place shows.
#pragma once

#include <cstdint>

#include "common/image.h"

namespace kb::test {

inline RgbImage patternImage(int width, int height) {
  RgbImage image{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c)
        image.pixels.push_back(static_cast<std::uint8_t>(x * 31 + y * 17 + c * 90));
  return image;
}

}  // namespace kb::test
