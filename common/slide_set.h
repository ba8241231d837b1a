// The ten pictures the screensaver program carries and the slide bitmap files
// it makes of them for the renderer: picture 0 (the reel) is an uncompressed
// 24-bit bitmap, pictures 1 to 9 (the slides) are JPEGs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/image.h"

namespace kb {

constexpr std::size_t kReelFileBytes = 79974;    // 54 + 180 * 148 * 3
constexpr std::size_t kSlideFileBytes = 196662;  // 54 + 256 * 256 * 3
constexpr std::size_t kSlideSetBytes = kReelFileBytes + 9 * kSlideFileBytes;

// Decodes an uncompressed 24-bit Windows bitmap (bottom-up or top-down).
// Whatever its headers claim, it reads nothing beyond `size` bytes; anything
// else (other depths, compression, short or damaged data) gives nothing.
std::optional<RgbImage> decodeBitmap24(const std::uint8_t* data, std::size_t size);

// The exact bytes of slide bitmap file `index` (0 to 9) made from embedded
// picture `index`. Nothing when the index is out of range, the picture cannot
// be decoded completely, or it does not have its slot's size (180 x 148 for
// the reel, 256 x 256 for a slide): the renderer relies on those sizes.
std::optional<std::vector<std::uint8_t>> makeSlideBitmapFile(int index, const std::uint8_t* data,
                                                             std::size_t size);

}  // namespace kb
