// Where the pictures the screensaver program embeds lie in assets/, for the
// tools, benchmarks and tests that read or make them (the program itself
// carries them as resources).
#pragma once

#include <string>

namespace kb {

// "reel.bmp" for picture 0, "slide1.jpg" to "slide9.jpg" for 1 to 9.
inline std::string embeddedPictureName(int index) {
  if (index == 0) return "reel.bmp";
  return "slide" + std::to_string(index) + ".jpg";
}

}  // namespace kb
