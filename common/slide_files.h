// The ten slide bitmaps that the screensaver program writes and the renderer
// reads: "C:\Windows\Kolvane_Brightrun0.bmp" to "...9.bmp".
#pragma once

#include <string>

namespace kb {

constexpr int kSlideFileCount = 10;
constexpr int kReelWidth = 180, kReelHeight = 148;
constexpr int kSlideSide = 256;

// Name of slide bitmap `index` (0 to 9) without its folder.
inline std::string slideBaseName(int index) {
  return std::string("Kolvane_Brightrun") + static_cast<char>('0' + index) + ".bmp";
}

// Full name of slide bitmap `index`. The folder is fixed on purpose: both
// programs must agree on it without asking the system.
inline std::string slideFileName(int index) {
  return "C:\\Windows\\" + slideBaseName(index);
}

}  // namespace kb
