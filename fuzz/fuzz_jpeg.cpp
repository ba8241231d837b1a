// Any bytes given to the JPEG reader give a texture or a message, never a crash.
#include "fuzz/texture_fuzz_support.h"

namespace {

// True when a frame header in the data claims more than about a million
// pixels. Such inputs make libjpeg fill the whole claimed picture, which only
// costs time (the size limits themselves are unit-tested), so they are passed
// over to keep the fuzzer fast.
bool claimsLargeFrame(const std::uint8_t* data, std::size_t size) {
  for (std::size_t i = 0; i + 8 < size; ++i) {
    const std::uint8_t marker = data[i + 1];
    const bool frame = data[i] == 0xFF && marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 &&
                       marker != 0xC8 && marker != 0xCC;
    if (!frame) continue;
    const std::size_t height = data[i + 5] << 8 | data[i + 6];
    const std::size_t width = data[i + 7] << 8 | data[i + 8];
    if (width * height > (std::size_t{1} << 20)) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (claimsLargeFrame(data, size)) return 0;
  kb::fuzz::loadBothWays("C:\\Windows\\input.jpg", data, size);
  return 0;
}
