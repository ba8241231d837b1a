// The pictures carried in the program's resources, and what is made of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "common/image.h"

namespace kb {

// The bytes of an embedded picture as stored (nothing when it is missing).
struct EmbeddedBytes {
  const std::uint8_t* data;
  std::size_t size;
};
std::optional<EmbeddedBytes> embeddedPicture(int resourceNumber);

// Writes slide bitmap file `index` (0 to 9) from its embedded picture; false
// when the picture cannot be made or the file cannot be written completely.
bool writeSlideFile(int index);

// The preview picture, decoded.
std::optional<RgbImage> previewPicture();

}  // namespace kb
