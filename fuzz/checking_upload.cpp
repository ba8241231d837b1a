// Stands in for the GL upload in the fuzz targets: it reads every byte GL
// would read from the rows (padded to 4 bytes), so that the address sanitizer
// catches a reader that hands over less memory than the size it reports.
#include <GL/gl.h>

#include <cstring>
#include <vector>

#include "renderer/textures.h"

namespace kb::renderer {

unsigned int uploadTexture(std::uint16_t width, std::uint16_t height, int format,
                           const std::uint8_t* pixels) {
  const std::size_t bytesPerPixel = format == GL_RGBA ? 4 : 3;
  const std::size_t usedBytes = width * bytesPerPixel;
  const std::size_t rowBytes = (usedBytes + 3) & ~std::size_t{3};
  // memcpy is checked by the sanitizer over its whole range, row by row.
  std::vector<std::uint8_t> scratch(usedBytes);
  for (std::size_t y = 0; y < height && usedBytes > 0; ++y) {
    std::memcpy(scratch.data(), pixels + y * rowBytes, usedBytes);
  }
  return 1;
}

}  // namespace kb::renderer
