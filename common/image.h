// Pixel buffers and the two image codecs shared by both programs: libjpeg
// decoding and the uncompressed 24-bit bitmap files handed to the renderer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kb {

// 8-bit RGB pixels, top row first, rows packed without padding.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 3 bytes

  const std::uint8_t* at(int x, int y) const {
    return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 3;
  }
};

// Decodes a JPEG held in memory to RGB (grey-scale files give equal channels).
// Any libjpeg error is returned as an empty result with its text in `error`;
// it never ends the process.
std::optional<RgbImage> decodeJpeg(const std::uint8_t* data, std::size_t size,
                                   std::string* error = nullptr);

// Like decodeJpeg, but also refuses data that libjpeg could only decode with
// warnings, such as a truncated file whose missing rows it would fill with grey.
std::optional<RgbImage> decodeCompleteJpeg(const std::uint8_t* data, std::size_t size,
                                           std::string* error = nullptr);

// Like decodeCompleteJpeg, but decodes straight into the bytes encodeBitmap
// would write for the result, with no RGB copy in between.
std::optional<std::vector<std::uint8_t>> decodeCompleteJpegToBitmap(const std::uint8_t* data,
                                                                    std::size_t size,
                                                                    std::string* error = nullptr);

// Writes the bytes of an uncompressed 24-bit bottom-up Windows bitmap: a
// 14-byte file header, a 40-byte information header and the rows, padded to
// 4 bytes where width * 3 is not a multiple of 4.
std::vector<std::uint8_t> encodeBitmap(const RgbImage& image);

// Reads a whole file; nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path);

}  // namespace kb
