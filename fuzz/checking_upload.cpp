// Stands in for the GL upload in the fuzz targets: it reads every byte GL
// would read from the rows (padded to 4 bytes), so that the address sanitizer
// catches a reader that hands over less memory than the size it reports.
#include <GL/gl.h>

#include "renderer/textures.h"

namespace kb::renderer {

unsigned int uploadTexture(std::uint16_t width, std::uint16_t height, int format,
                           const std::uint8_t* pixels) {
  const std::size_t bytesPerPixel = format == GL_RGBA ? 4 : 3;
  const std::size_t rowBytes = (width * bytesPerPixel + 3) & ~std::size_t{3};
  unsigned int sum = 0;
  for (std::size_t y = 0; y < height; ++y) {
    for (std::size_t x = 0; x < width * bytesPerPixel; ++x) sum += pixels[y * rowBytes + x];
  }
  static volatile unsigned int sink;
  sink = sum;
  return 1;
}

}  // namespace kb::renderer
