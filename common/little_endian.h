// Little-endian numbers in file headers (BMP, TGA), read byte by byte.
#pragma once

#include <cstdint>

namespace kb {

inline std::uint16_t readLe16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

inline std::uint32_t readLe32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(readLe16(at)) | static_cast<std::uint32_t>(readLe16(at + 2))
                                                        << 16;
}

}  // namespace kb
