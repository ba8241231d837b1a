// Any bytes given to the JPEG reader give a texture or a message, never a crash.
#include "fuzz/texture_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kb::fuzz::loadBothWays("C:\\Windows\\input.jpg", data, size);
  return 0;
}
